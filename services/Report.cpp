#include "Report.h"

#include "Battery.h"
#include "CaptureFile.h"
#include "Commands.h"
#include "Constants.h"
#include "DeviceStates.h"
#include "Host.h"
#include "IoError.h"
#include "LibcHost.h"
#include "PrivilegedClient.h"
#include "SecurityStates.h"

#include <functional>

namespace Ucomtc {

namespace {

// The machine as the dialogs see it, but a message box becomes one line on standard error and the
// report goes on; counting them tells whether every section was read.
class ReportHost : public Host
{
public:
    ReportHost(Host& machine, QTextStream& errors) : machine_(machine), errors_(errors) {}

    int System(const QString& command) override { return machine_.System(command); }
    void RunShell(const QString& command) override { machine_.RunShell(command); }
    int RunAs(uid_t uid, gid_t gid, const QString& command) override
    {
        return machine_.RunAs(uid, gid, command);
    }
    bool OpenFile(const QString& path) override { return machine_.OpenFile(path); }
    bool RunPrivileged(const QString& socketPath, const QString& command) override
    {
        // The production host would tell of a missing daemon in a box of its own.
        if (auto* libc = dynamic_cast<LibcHost*>(&machine_))
            return RunPrivilegedThrough(*this, socketPath, command, libc->replyTimeout());
        return machine_.RunPrivileged(socketPath, command);
    }
    bool FileExists(const QString& path) override { return machine_.FileExists(path); }
    uid_t GetUid() override { return machine_.GetUid(); }
    std::optional<QString> GetEnv(const char* name) override { return machine_.GetEnv(name); }
    QImage LoadImage(const QString& path) override { return machine_.LoadImage(path); }

    void ShowMessage(MessageKind, const QString& text) override
    {
        errors_ << QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')) << '\n';
        errors_.flush();
        ++shown_;
    }
    int shown() const { return shown_; }

private:
    Host& machine_;
    QTextStream& errors_;
    int shown_ = 0;
};

// Reads one section; false when it showed a message or its capture file could not be read.
bool ReadSection(SystemReport& report, const QString& title, const std::function<void(TSysInfoArray&)>& read)
{
    ReportSection section{title, {}};
    bool complete = true;
    try {
        read(section.rows);
    } catch (const IoError& error) {
        Host::current().ShowMessage(MessageKind::Report, QString::fromLocal8Bit(error.what()));
        complete = false;
    }
    report.sections.append(section);
    return complete;
}

QString StateOrUnknown(const std::optional<bool>& state, const QString& on, const QString& off)
{
    return state ? (*state ? on : off) : QString::fromLatin1(ReportUnknown);
}

void ReadDevices(TSysInfoArray& rows, bool& complete)
{
    const std::optional<bool> nubstick = ReadNubstickEnabled();
    rows.append({QStringLiteral("Nubstick"),
                 StateOrUnknown(nubstick, DeviceStateText(true), DeviceStateText(false))});
    const std::optional<bool> touchpad = ReadTouchpadEnabled();
    rows.append({QStringLiteral("Touchpad"),
                 StateOrUnknown(touchpad, DeviceStateText(true), DeviceStateText(false))});
    complete = nubstick && touchpad;
}

void ReadSecurity(TSysInfoArray& rows, bool& complete)
{
    const QString enabled = QStringLiteral("Enabled");
    const QString disabled = QStringLiteral("Disabled");
    rows.append({QStringLiteral("Screen saver lock"), ReadScreenSaverLock() ? enabled : disabled});
    rows.append({QStringLiteral("Resume lock"), ReadResumeLock() ? enabled : disabled});
    // The dialog's rows, in its order; the queries run in theirs.
    QString states[3] = {QString::fromLatin1(ReportUnknown), QString::fromLatin1(ReportUnknown),
                         QString::fromLatin1(ReportUnknown)};
    int read = 0;
    ReadBiosPasswords([&](BiosPassword which, const QString& state) {
        states[static_cast<int>(which)] = state;
        ++read;
    });
    rows.append({QStringLiteral("Power-on password"), states[static_cast<int>(BiosPassword::PowerOn)]});
    rows.append({QStringLiteral("Hard-disk password"), states[static_cast<int>(BiosPassword::HardDisk)]});
    rows.append(
        {QStringLiteral("Administrator password"), states[static_cast<int>(BiosPassword::Administrator)]});
    complete = read == 3;
}

QString Escaped(const QString& value, ReportFormat format)
{
    QString out;
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (format == ReportFormat::Json) {
            switch (u) {
            case u'"':
                out += QStringLiteral("\\\"");
                continue;
            case u'\\':
                out += QStringLiteral("\\\\");
                continue;
            case u'\n':
                out += QStringLiteral("\\n");
                continue;
            case u'\r':
                out += QStringLiteral("\\r");
                continue;
            case u'\t':
                out += QStringLiteral("\\t");
                continue;
            default:
                break;
            }
            if (u < 0x20 || u == 0x7f)
                out += QStringLiteral("\\u%1").arg(static_cast<int>(u), 4, 16, QLatin1Char('0'));
            else
                out += c;
        } else if (u < 0x20 || u == 0x7f) {
            // A control character would break the line or the table: shown as a blank.
            out += QLatin1Char(' ');
        } else if (format == ReportFormat::Markdown && (u == u'|' || u == u'\\')) {
            out += QLatin1Char('\\');
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

QString FormatText(const SystemReport& report)
{
    QString out;
    for (const ReportSection& section : report.sections) {
        if (!out.isEmpty())
            out += QLatin1Char('\n');
        out += section.title + QLatin1Char('\n') + QString(section.title.size(), QLatin1Char('-')) +
               QLatin1Char('\n');
        qsizetype width = 0;
        for (const TSysInfoRec& row : section.rows)
            width = std::max(width, Escaped(row.Attribute, ReportFormat::Text).size() + 1);
        for (const TSysInfoRec& row : section.rows) {
            out += (Escaped(row.Attribute, ReportFormat::Text) + QLatin1Char(':')).leftJustified(width) +
                   QLatin1Char(' ') + Escaped(row.Value, ReportFormat::Text) + QLatin1Char('\n');
        }
    }
    return out;
}

QString FormatMarkdown(const SystemReport& report)
{
    QString out;
    for (const ReportSection& section : report.sections) {
        if (!out.isEmpty())
            out += QLatin1Char('\n');
        out += QStringLiteral("## ") + Escaped(section.title, ReportFormat::Markdown) +
               QStringLiteral("\n\n| Attribute | Value |\n|---|---|\n");
        for (const TSysInfoRec& row : section.rows) {
            out += QStringLiteral("| ") + Escaped(row.Attribute, ReportFormat::Markdown) +
                   QStringLiteral(" | ") + Escaped(row.Value, ReportFormat::Markdown) +
                   QStringLiteral(" |\n");
        }
    }
    return out;
}

QString FormatJson(const SystemReport& report)
{
    const auto quoted = [](const QString& text) {
        return QLatin1Char('"') + Escaped(text, ReportFormat::Json) + QLatin1Char('"');
    };
    QString out = QStringLiteral("{");
    for (qsizetype s = 0; s < report.sections.size(); ++s) {
        const ReportSection& section = report.sections[s];
        out += (s == 0 ? QStringLiteral("\n  ") : QStringLiteral(",\n  ")) + quoted(section.title) +
               QStringLiteral(": {");
        for (qsizetype r = 0; r < section.rows.size(); ++r) {
            out += (r == 0 ? QStringLiteral("\n    ") : QStringLiteral(",\n    ")) +
                   quoted(section.rows[r].Attribute) + QStringLiteral(": ") + quoted(section.rows[r].Value);
        }
        out += section.rows.isEmpty() ? QStringLiteral("}") : QStringLiteral("\n  }");
    }
    out += QStringLiteral("\n}\n");
    return out;
}

} // namespace

SystemReport CollectReport()
{
    SystemReport report;
    const auto add = [&](const QString& title, const std::function<void(TSysInfoArray&)>& read) {
        report.complete &= ReadSection(report, title, read);
    };
    add(QStringLiteral("General"), [](TSysInfoArray& rows) { GetSysInfo(GeneralTab, rows); });
    add(QStringLiteral("BIOS"), [](TSysInfoArray& rows) { GetSysInfo(BiosTab, rows); });
    const QStringList batteries = BatteryEntries();
    if (batteries.isEmpty()) {
        Host::current().ShowMessage(MessageKind::Error, QString::fromLatin1(MsgNoBatteryOrBatinfo));
        report.complete = false;
    }
    for (const QString& battery : batteries) {
        add(battery, [&](TSysInfoArray& rows) {
            CopyBatteryFiles(BatteryOfEntry(battery));
            GetSysInfo(BatteryTab, rows);
        });
        // Without dmidecode the rows are never read, and with them the copies would stay in /tmp.
        for (const char* copy : {StateCaptureFile, InfoCaptureFile}) {
            if (FileExists(QString::fromLatin1(copy)))
                RunCommand(RunWith::Shell, QStringLiteral("rm ") + QString::fromLatin1(copy));
        }
    }
    bool devicesRead = true;
    add(QStringLiteral("Pointing devices"), [&](TSysInfoArray& rows) { ReadDevices(rows, devicesRead); });
    bool securityRead = true;
    add(QStringLiteral("Security"), [&](TSysInfoArray& rows) { ReadSecurity(rows, securityRead); });
    report.complete &= devicesRead && securityRead;
    RemoveStoredDmi();
    return report;
}

QString FormatReport(const SystemReport& report, ReportFormat format)
{
    switch (format) {
    case ReportFormat::Markdown:
        return FormatMarkdown(report);
    case ReportFormat::Json:
        return FormatJson(report);
    case ReportFormat::Text:
        break;
    }
    return FormatText(report);
}

int RunReport(ReportFormat format, QTextStream& out, QTextStream& errors)
{
    ReportHost host(Host::current(), errors);
    ScopedHost scope(host);
    SystemReport report = CollectReport();
    // A section whose reading showed a message was not read in full, whatever its rows say.
    if (host.shown() > 0)
        report.complete = false;
    out << FormatReport(report, format);
    out.flush();
    return report.complete ? 0 : 1;
}

} // namespace Ucomtc
