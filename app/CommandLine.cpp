#include "app/CommandLine.h"

#include "areas/pointing/Constants.h"
#include "areas/pointing/PointingDevices.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

// Exit status of a command line the program does not understand, as with the shell's built-ins.
constexpr int UsageStatus = 2;

// Options that the toolkit takes off the command line itself when the application object is made.
// They stay usable (a desktop may start the program with -style or -platform), but the help text
// leaves them out: they are the toolkit's, not the program's.
const char* const ToolkitOptionsWithValue[] = {"platform",
                                               "platformpluginpath",
                                               "platformtheme",
                                               "plugin",
                                               "qwindowgeometry",
                                               "qwindowicon",
                                               "qwindowtitle",
                                               "display",
                                               "geometry",
                                               "style",
                                               "stylesheet",
                                               "session",
                                               "title",
                                               "icon",
                                               "name"};
const char* const ToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

} // namespace

TCommandLine::TCommandLine(QString programName, QString version)
    : programName_(std::move(programName)), version_(std::move(version))
{}

TCommandLineOutcome TCommandLine::Parse(const QStringList& arguments) const
{
    QCommandLineParser parser;
    // The toolkit's options are single-dash words ("-style"); they must not read as "-s -t -y ...".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Shows the Lapstone notebook's system, BIOS and battery information and switches its "
                       "devices.\nCommands that need root rights go to the privileged helper lapstone-vcd."));
    // Own help and version options: the parser's would add --help-all, whose toolkit part needs an
    // application object.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays the program's name and release and exits."));
    const QCommandLineOption report(
        QStringLiteral("report"),
        QStringLiteral("Prints the system report (what the system information, device "
                       "and security dialogs show) and exits."));
    const QCommandLineOption format(
        QStringLiteral("format"),
        QStringLiteral("The report's format: text (the default), markdown or json."),
        QStringLiteral("format"));
    const QCommandLineOption deviceState(
        QString::fromLatin1(Ucomtc::ApplyDeviceStateOption),
        QStringLiteral("Switches a device as chosen in its dialog and exits: touchpad=off, "
                       "pointingstick=off (or =on). Run at login in an X session."),
        QStringLiteral("device=state"));
    parser.addOptions({help, version, report, format, deviceState});
    for (const char* name : ToolkitOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : ToolkitFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    QStringList named = arguments;
    if (named.isEmpty())
        named.append(programName_);

    TCommandLineOutcome outcome;
    const auto usage = [&](const QString& reason) {
        outcome.run = false;
        outcome.exitStatus = UsageStatus;
        outcome.error = programName_ + QStringLiteral(": ") + reason + QLatin1Char('\n') +
                        QStringLiteral("Try '%1 --help' for more information.\n").arg(programName_);
    };
    if (!parser.parse(named)) {
        usage(parser.errorText());
        return outcome;
    }
    if (parser.isSet(help)) {
        outcome.run = false;
        // Without an application object the parser cannot name the program itself.
        outcome.output = parser.helpText().replace(QStringLiteral("<executable_name>"), programName_);
        return outcome;
    }
    if (parser.isSet(version)) {
        outcome.run = false;
        outcome.output = programName_ + QLatin1Char(' ') + version_ + QLatin1Char('\n');
        return outcome;
    }
    if (!parser.positionalArguments().isEmpty()) {
        usage(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
        return outcome;
    }
    if (parser.isSet(format) && !parser.isSet(report)) {
        usage(QStringLiteral("--format needs --report"));
        return outcome;
    }
    if (parser.isSet(deviceState)) {
        outcome.deviceState = Ucomtc::ParseDeviceStateArgument(parser.value(deviceState));
        if (!outcome.deviceState)
            usage(QStringLiteral("unknown device state '%1' (touchpad=off, pointingstick=off, or =on)")
                      .arg(parser.value(deviceState)));
        return outcome;
    }
    if (parser.isSet(report)) {
        const QString name = parser.isSet(format) ? parser.value(format) : QStringLiteral("text");
        if (name == QLatin1String("text"))
            outcome.report = Ucomtc::ReportFormat::Text;
        else if (name == QLatin1String("markdown"))
            outcome.report = Ucomtc::ReportFormat::Markdown;
        else if (name == QLatin1String("json"))
            outcome.report = Ucomtc::ReportFormat::Json;
        else
            usage(QStringLiteral("unknown report format '%1' (text, markdown or json)").arg(name));
    }
    return outcome;
}
