// lapstone-scenario: goes through the program's windows inside the simulated notebook.
//   lapstone-scenario [--screen WIDTHxHEIGHT] [--out DIR] SCENARIO...
// --screen runs on an offscreen screen of that size, so the screenshots show where windows land.
#include "Driver.h"
#include "Registry.h"
#include "ScenarioHost.h"
#include "SimPaths.h"
#include "Transcript.h"

#include "machine/Host.h"

#include "tests/support/VirtualScreen.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    if (argc >= 3 && std::strcmp(argv[1], "--screen") == 0) {
        int width = 0;
        int height = 0;
        if (std::sscanf(argv[2], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) {
            std::fprintf(stderr, "lapstone-scenario: --screen wants WIDTHxHEIGHT, not %s\n", argv[2]);
            return 2;
        }
        UseVirtualScreen(QSize(width, height));
        argv[2] = argv[0];
        argv += 2;
        argc -= 2;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LapstoneConfiguration"));
    // The driver decides when it is done, not the last window closing.
    QApplication::setQuitOnLastWindowClosed(false);

    QStringList arguments = QApplication::arguments().mid(1);
    QString out = QDir(QString::fromLatin1(SimOutDirectory)).exists() ? QString::fromLatin1(SimOutDirectory)
                                                                      : QDir::currentPath();
    if (arguments.size() >= 2 && arguments.first() == QLatin1String("--out")) {
        out = arguments.at(1);
        arguments = arguments.mid(2);
    }
    if (arguments.isEmpty()) {
        std::fprintf(stderr, "usage: lapstone-scenario [--out DIR] SCENARIO...\nscenarios: %s\n",
                     qPrintable(ScenarioNames().join(QLatin1Char(' '))));
        return 2;
    }

    Transcript transcript(out);
    transcript.Line(
        QStringLiteral("Lapstone Configuration, simulated notebook \"%1\", user id %2, platform %3")
            .arg(qEnvironmentVariable("LAPSTONE_SIM_PROFILE", QStringLiteral("unknown")))
            .arg(getuid())
            .arg(QGuiApplication::platformName()));
    ScenarioHost host(transcript);
    Ucomtc::ScopedHost scope(host);
    Driver driver(transcript, host);
    for (const QString& scenario : arguments) {
        if (!RunScenario(driver, scenario)) {
            std::fprintf(stderr, "lapstone-scenario: no scenario called %s\n", qPrintable(scenario));
            return 2;
        }
    }
    transcript.Line(transcript.allPassed() ? QStringLiteral("\nall checks passed")
                                           : QStringLiteral("\n%1 checks FAILED").arg(transcript.failures()));
    std::printf("transcript: %s\n", qPrintable(transcript.path()));
    return transcript.allPassed() ? 0 : 1;
}
