#include "report/Report.h"

#include "areas/batteries/Constants.h"
#include "machine/IoError.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

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

void ReadDevices(PointingDevices& devices, TSysInfoArray& rows, bool& complete, Messages& messages)
{
    const auto nubstick = Taken(devices.Read(PointingDevice::PointingStick), messages);
    rows.append({QStringLiteral("Nubstick"), DeviceStateText(nubstick)});
    const auto touchpad = Taken(devices.Read(PointingDevice::Touchpad), messages);
    rows.append({QStringLiteral("Touchpad"), DeviceStateText(touchpad)});
    complete = nubstick && touchpad;
}

void ReadSecurity(const Areas& areas, TSysInfoArray& rows, bool& complete, Messages& messages)
{
    const QString enabled = QStringLiteral("Enabled");
    const QString disabled = QStringLiteral("Disabled");
    rows.append({QStringLiteral("Screen saver lock"),
                 StateOrUnknown(Taken(areas.locks.ScreenSaverLock(), messages).locked, enabled, disabled)});
    rows.append({QStringLiteral("Resume lock"),
                 StateOrUnknown(Taken(areas.locks.ReadResumeLock(), messages).locked, enabled, disabled)});
    // The dialog's rows, in its order; the queries run in theirs.
    const BiosPasswordStates states = Taken(areas.system.BiosPasswords(), messages);
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

// Whether `c` would break a line or a table row: C0 and C1 controls, DEL, the line and paragraph
// separators.
bool BreaksTheLine(char16_t c)
{
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) || c == 0x2028 || c == 0x2029;
}

QString Escaped(const QString& value, ReportFormat format)
{
    // What Markdown would read as markup in a table cell: emphasis, code, links and pictures, raw
    // HTML and entities, strike-through, the cell's own bar, and the escape itself.
    static const QString markup = QStringLiteral("\\`*_[]<>&|~");
    QString out;
    for (const QChar c : value) {
        if (BreaksTheLine(c.unicode())) {
            out += QLatin1Char(' ');
            continue;
        }
        if (format == ReportFormat::Markdown && markup.contains(c))
            out += QLatin1Char('\\');
        out += c;
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
    QJsonObject sections;
    for (const ReportSection& section : report.sections) {
        QJsonObject rows;
        for (const TSysInfoRec& row : section.rows)
            rows.insert(row.Attribute, row.Value);
        sections.insert(section.title, rows);
    }
    return QString::fromUtf8(QJsonDocument(sections).toJson(QJsonDocument::Indented));
}

} // namespace

SystemReport CollectReport(const Areas& areas)
{
    SystemReport report;
    Messages& messages = report.messages;
    const auto add = [&](const QString& title, const std::function<void(TSysInfoArray&)>& read) {
        report.complete &= ReadSection(report, title, read);
    };
    const auto tab = [&](int which) {
        return [&, which](TSysInfoArray& rows) { rows = Taken(areas.system.Rows(which, 0), messages); };
    };
    add(QStringLiteral("General"), tab(GeneralTab));
    add(QStringLiteral("BIOS"), tab(BiosTab));
    const QStringList batteries = areas.batteries.Entries();
    if (batteries.isEmpty()) {
        messages.append({MessageKind::Error, QString::fromLatin1(MsgNoBatteryOrBatinfo)});
        report.complete = false;
    }
    for (const QString& battery : batteries) {
        add(battery, [&](TSysInfoArray& rows) {
            const int number = BatteryOfEntry(battery);
            messages.append(areas.batteries.Copy(number));
            rows = Taken(areas.system.Rows(BatteryTab, number), messages);
        });
        // Without dmidecode the rows are never read, and with them the copies would stay in /tmp.
        messages.append(areas.batteries.RemoveCopies());
    }
    bool devicesRead = true;
    add(QStringLiteral("Pointing devices"),
        [&](TSysInfoArray& rows) { ReadDevices(areas.pointing, rows, devicesRead, messages); });
    bool securityRead = true;
    add(QStringLiteral("Security"),
        [&](TSysInfoArray& rows) { ReadSecurity(areas, rows, securityRead, messages); });
    report.complete &= devicesRead && securityRead;
    messages.append(areas.system.RemoveStoredDmi());
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

int RunReport(const Areas& areas, ReportFormat format, QTextStream& out, QTextStream& errors)
{
    // The tools the reading runs have their own words for standard error (synclient without its
    // driver, for one): the report's lines there are the dialogs' messages, one each, so the tools'
    // go nowhere while it reads.
    SystemReport report;
    {
        std::fflush(stderr);
        const int saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved >= 0 && nowhere >= 0)
            ::dup2(nowhere, STDERR_FILENO);
        report = CollectReport(areas);
        if (saved >= 0 && nowhere >= 0)
            ::dup2(saved, STDERR_FILENO);
        for (const int fd : {saved, nowhere}) {
            if (fd >= 0)
                ::close(fd);
        }
    }
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
