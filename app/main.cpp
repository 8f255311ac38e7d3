#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/MainForm.h"

#include "areas/Areas.h"
#include "areas/pointing/InputDevices.h"
#include "report/Report.h"
#include "widgets/DesktopPalette.h"
#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[])
{
    // Before the application object: that one needs a display, and --help must not.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const TCommandLineOutcome command =
        TCommandLine(QStringLiteral("LapstoneConfiguration"), QStringLiteral(LAPSTONE_VERSION))
            .Parse(arguments);
    if (!command.run) {
        std::fputs(command.output.toLocal8Bit().constData(), stdout);
        std::fputs(command.error.toLocal8Bit().constData(), stderr);
        return command.exitStatus;
    }
    if (command.deviceState) {
        QCoreApplication application(argc, argv);
        QTextStream errors(stderr);
        const Ucomtc::Messages messages =
            Ucomtc::ApplyDeviceState(command.deviceState->first, command.deviceState->second);
        for (const Ucomtc::Message& message : messages)
            errors << message.text << Qt::endl;
        return messages.isEmpty() ? 0 : 1;
    }
    if (command.report) {
        // The report needs no display: a core application is enough.
        QCoreApplication application(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("LapstoneConfiguration"));
        QTextStream out(stdout);
        QTextStream errors(stderr);
        Ucomtc::MachineAreas machine;
        return Ucomtc::RunReport(machine.areas(), *command.report, out, errors);
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LapstoneConfiguration"));
    QApplication::setApplicationVersion(QStringLiteral(LAPSTONE_VERSION));
    // Before the forms: they choose their text colours for the palette they are made under.
    Ucomtc::UseDesktopPalette();

    Ucomtc::MachineAreas machine;
    TApplication forms(machine.areas());
    forms.CreateForms();
    forms.MainForm()->show();
    return QApplication::exec();
}
