#include "readers/Report.h"

#include "machine/IoError.h"
#include "readers/Battery.h"
#include "readers/DeviceStates.h"
#include "readers/SecurityStates.h"
#include "services/Constants.h"

#include <functional>

namespace Ucomtc {

namespace {

// Reads one section; false when its capture file could not be read.
bool ReadSection(SystemReport& report, const QString& title, const std::function<void(TSysInfoArray&)>& read)
{
    ReportSection section{title, {}};
    bool complete = true;
    try {
        read(section.rows);
    } catch (const IoError& error) {
        report.messages.append({MessageKind::Report, QString::fromLocal8Bit(error.what())});
        complete = false;
    }
    report.sections.append(section);
    return complete;
}

// Takes a reading's messages into the report and gives its value.
template <typename T> T Taken(Reading<T> read, Messages& messages)
{
    messages.append(read.messages);
    return std::move(read.value);
}

QString StateOrUnknown(const std::optional<bool>& state, const QString& on, const QString& off)
{
    return state ? (*state ? on : off) : QString::fromLatin1(ReportUnknown);
}

void ReadDevices(TSysInfoArray& rows, bool& complete, Messages& messages)
{
    const std::optional<bool> nubstick = Taken(ReadNubstickEnabled(), messages);
    rows.append({QStringLiteral("Nubstick"), DeviceStateText(nubstick)});
    const std::optional<bool> touchpad = Taken(ReadTouchpadEnabled(), messages);
    rows.append({QStringLiteral("Touchpad"), DeviceStateText(touchpad)});
    complete = nubstick && touchpad;
}

void ReadSecurity(TSysInfoArray& rows, bool& complete, Messages& messages)
{
    const QString enabled = QStringLiteral("Enabled");
    const QString disabled = QStringLiteral("Disabled");
    rows.append({QStringLiteral("Screen saver lock"),
                 StateOrUnknown(Taken(ReadScreenSaverLock(), messages), enabled, disabled)});
    rows.append({QStringLiteral("Resume lock"),
                 StateOrUnknown(Taken(ReadResumeLock(), messages), enabled, disabled)});
    // The dialog's rows, in its order; the queries run in theirs.
    const BiosPasswordStates states = Taken(ReadBiosPasswords(), messages);
    const auto row = [&](const char* attribute, BiosPassword which) {
        const auto& state = states[static_cast<int>(which)];
        rows.append({QString::fromLatin1(attribute), state.value_or(QString::fromLatin1(ReportUnknown))});
        complete &= state.has_value();
    };
    complete = true;
    row("Power-on password", BiosPassword::PowerOn);
    row("Hard-disk password", BiosPassword::HardDisk);
    row("Administrator password", BiosPassword::Administrator);
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
    Messages& messages = report.messages;
    const auto add = [&](const QString& title, const std::function<void(TSysInfoArray&)>& read) {
        report.complete &= ReadSection(report, title, read);
    };
    const auto tab = [&](int which) {
        return [&messages, which](TSysInfoArray& rows) { rows = Taken(GetSysInfo(which), messages); };
    };
    add(QStringLiteral("General"), tab(GeneralTab));
    add(QStringLiteral("BIOS"), tab(BiosTab));
    const QStringList batteries = BatteryEntries();
    if (batteries.isEmpty()) {
        messages.append({MessageKind::Error, QString::fromLatin1(MsgNoBatteryOrBatinfo)});
        report.complete = false;
    }
    for (const QString& battery : batteries) {
        add(battery, [&](TSysInfoArray& rows) {
            const int number = BatteryOfEntry(battery);
            messages.append(CopyBatteryFiles(number));
            rows = Taken(GetSysInfo(BatteryTab, number), messages);
        });
        // Without dmidecode the rows are never read, and with them the copies would stay in /tmp.
        messages.append(RemoveBatteryCopies());
    }
    bool devicesRead = true;
    add(QStringLiteral("Pointing devices"),
        [&](TSysInfoArray& rows) { ReadDevices(rows, devicesRead, messages); });
    bool securityRead = true;
    add(QStringLiteral("Security"), [&](TSysInfoArray& rows) { ReadSecurity(rows, securityRead, messages); });
    report.complete &= devicesRead && securityRead;
    messages.append(RemoveStoredDmi());
    return report;
}

QStringList MessageLines(const Messages& messages)
{
    QStringList lines;
    QList<int> counts;
    for (const Message& message : messages) {
        const QString line = QString(message.text).replace(QLatin1Char('\n'), QLatin1Char(' '));
        const auto seen = lines.indexOf(line);
        if (seen >= 0) {
            ++counts[seen];
            continue;
        }
        lines.append(line);
        counts.append(1);
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (counts[i] > 1)
            lines[i] += QStringLiteral(" (%1 times)").arg(counts[i]);
    }
    return lines;
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
    SystemReport report = CollectReport();
    for (const QString& line : MessageLines(report.messages))
        errors << line << '\n';
    errors.flush();
    // A section whose reading had something to say was not read in full, whatever its rows say.
    if (!report.messages.isEmpty())
        report.complete = false;
    out << FormatReport(report, format);
    out.flush();
    return report.complete ? 0 : 1;
}

} // namespace Ucomtc
