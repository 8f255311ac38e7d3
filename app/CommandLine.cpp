#include "CommandLine.h"

#include <Report.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

using namespace Ucomtc;

namespace {

constexpr int UsageError = 2;

// Whether any argument is one of ours; Qt's own options (-platform, -style ...) go to the window.
bool AsksForReport(const QStringList& arguments)
{
    for (const QString& argument : arguments.mid(1)) {
        if (argument.startsWith(QLatin1String("--report")) || argument.startsWith(QLatin1String("--format")))
            return true;
    }
    return false;
}

std::optional<ReportFormat> FormatNamed(const QString& name)
{
    if (name == QLatin1String("text"))
        return ReportFormat::Text;
    if (name == QLatin1String("markdown"))
        return ReportFormat::Markdown;
    if (name == QLatin1String("json"))
        return ReportFormat::Json;
    return std::nullopt;
}

} // namespace

std::optional<int> RunCommandLine(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (!AsksForReport(arguments))
        return std::nullopt;

    // The report needs no display: a core application is enough.
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("LapstoneConfiguration"));
    QTextStream errors(stderr);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Lapstone Configuration for Zentil Linux"));
    const QCommandLineOption report(QStringLiteral("report"),
                                    QStringLiteral("Print a system report for support and bug reports."));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("The report's format: text (default), markdown or json."),
                                    QStringLiteral("format"), QStringLiteral("text"));
    parser.addOptions({report, format});
    if (!parser.parse(arguments)) {
        errors << parser.errorText() << '\n';
        return UsageError;
    }
    std::optional<ReportFormat> chosen = FormatNamed(parser.value(format));
    if (!parser.isSet(report) || !parser.positionalArguments().isEmpty() || !chosen) {
        errors << (!chosen ? QStringLiteral("Unknown report format: ") + parser.value(format)
                           : QStringLiteral(
                                 "Usage: LapstoneConfiguration --report [--format text|markdown|json]"))
               << '\n';
        return UsageError;
    }
    QTextStream out(stdout);
    return RunReport(*chosen, out, errors);
}
