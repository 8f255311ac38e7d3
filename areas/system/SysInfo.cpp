#include "areas/system/SysInfo.h"

#include "areas/batteries/Battery.h"
#include "areas/system/Constants.h"
#include "machine/Capture.h"
#include "machine/Constants.h"

namespace Ucomtc {

namespace {

enum DmiValue
{
    BiosVersion,
    BiosDate,
    ProductName,
    SystemSerial,
    BoardSerial,
    EmbeddedController,
};

TStringinfo ReadDmiValues()
{
    return ReadCaptureFile(QString::fromLatin1(StoredDmiFile), static_cast<int>(DmiKeys.size()), DmiKeys);
}

QString KnownOr(const QString& value)
{
    return value.trimmed().isEmpty() ? QString::fromLatin1(UnknownText) : value;
}

// The first line of /etc/issue that names Linux; where it begins "Welcome to ", what follows names
// the distribution, as it always has. Any other issue leaves the name to os-release.
QString OsInformation(Messages& messages)
{
    const QString issue =
        CaptureFirstLine(RunWith::Shell, QString::fromLatin1(ReadIssueIntoCapture),
                         QString::fromLatin1(DmidecodeCaptureFile), RunWith::Shell, messages);
    if (issue.startsWith(QLatin1String(IssueWelcome)))
        return issue.mid(11, 30);
    // /usr/lib/os-release only where /etc/os-release cannot be read at all: one without the name
    // still says the format's default.
    for (const char* file : OsReleaseFiles) {
        if (const auto text = Host::current().ReadTextFile(QString::fromLatin1(file)))
            return PrettyName(*text);
    }
    return QString();
}

// The controller line reads e.g. "String 1: VELTOR Embedded Controller Version LT2EC107 (1.07)";
// after the label's length has been cut from its start, the version stands at character 27.
QString ControllerVersion(const QString& value)
{
    return value.mid(26, 17);
}

void ReadGeneralRows(TSysInfoArray& rows, Messages& messages)
{
    const TStringinfo dmi = ReadDmiValues();
    const char* const attributes[] = {"OS information", "Kernel information", "Processor",
                                      "Memory",         "BIOS version",       "Machine type-Model"};
    rows.resize(std::size(attributes));
    for (qsizetype i = 0; i < rows.size(); ++i)
        rows[i].Attribute = QString::fromLatin1(attributes[i]);

    rows[0].Value = OsInformation(messages);

    rows[1].Value =
        CaptureFirstLine(RunWith::System,
                         QStringLiteral("gawk '{print $1\" \" $2\" \" $3}' /proc/version > /tmp/dmidecode"),
                         QString::fromLatin1(DmidecodeCaptureFile), RunWith::Shell, messages)
            .left(100);

    // Only the first processor's line is read: they all name the same model.
    rows[2].Value =
        ProcessorName(CaptureFirstLine(RunWith::System, QString::fromLatin1(ReadProcessorIntoCapture),
                                       QString::fromLatin1(DmidecodeCaptureFile), RunWith::Shell, messages));

    const QString memFile = QString::fromLatin1(MemCaptureFile);
    rows[3].Value = CaptureFirstLine(
                        RunWith::System,
                        QStringLiteral("grep \"MemTotal\" /proc/meminfo | gawk '{print $2 $3}' > ") + memFile,
                        memFile, RunWith::Shell, messages)
                        .left(100);

    rows[4].Value = dmi[BiosVersion];
    rows[5].Value = dmi[ProductName];
    for (TSysInfoRec& row : rows)
        row.Value = KnownOr(row.Value);
}

void ReadBiosRows(TSysInfoArray& rows)
{
    const TStringinfo dmi = ReadDmiValues();
    rows = {
        {QStringLiteral("BIOS version"), dmi[BiosVersion]},
        {QStringLiteral("BIOS date"), dmi[BiosDate]},
        {QStringLiteral("Embedded controller version"), ControllerVersion(dmi[EmbeddedController])},
        {QStringLiteral("Machine type-Model"), dmi[ProductName]},
        {QStringLiteral("System unit serial number"), dmi[SystemSerial]},
        {QStringLiteral("System board serial number"), dmi[BoardSerial]},
    };
    // A dump without the value, or no dump at all.
    for (TSysInfoRec& row : rows)
        row.Value = KnownOr(row.Value);
}

// The vendor line stands in the BIOS section, not necessarily at the top of the dump, so every line
// counts. A dump with nothing in it says nothing about the vendor.
DumpVerdict JudgeDump(const QStringList& lines)
{
    bool empty = true;
    for (const QString& line : lines) {
        if (line.contains(QLatin1String("Vendor: VELTOR")))
            return DumpVerdict::Veltor;
        if (!line.trimmed().isEmpty())
            empty = false;
    }
    return empty ? DumpVerdict::Unread : DumpVerdict::Foreign;
}

} // namespace

QString OsReleaseValue(const QByteArray& osRelease, const QString& key)
{
    // The format is the shell's assignments, one a line, as systemd reads them: blanks before the
    // key are skipped, "#" and ";" start a comment line, and the last assignment of a key counts.
    // A value is bare (a backslash takes the next character as it is; blanks around it go), in
    // double quotes (a backslash escapes ", \, $ and ` only) or in single quotes (taken as
    // written); parts of each kind join up.
    std::optional<QString> found;
    for (const QString& raw : QString::fromUtf8(osRelease).split(QLatin1Char('\n'))) {
        const QString line = TrimLeadingBlanks(raw);
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')) || equals < 0 ||
            line.left(equals).trimmed() != key)
            continue;
        QString value;
        qsizetype bareEnd = 0; // the value's length without the trailing blanks of a bare part
        QChar quote;
        qsizetype start = equals + 1;
        while (start < line.size() && (line.at(start) == u' ' || line.at(start) == u'\t'))
            ++start;
        for (qsizetype i = start; i < line.size(); ++i) {
            const QChar c = line.at(i);
            if (quote.isNull()) {
                if (c == u'"' || c == u'\'') {
                    quote = c;
                } else if (c == u'\\' && i + 1 < line.size()) {
                    value += line.at(++i);
                    bareEnd = value.size();
                } else {
                    value += c;
                    if (c != u' ' && c != u'\t')
                        bareEnd = value.size();
                }
                continue;
            }
            if (c == quote) {
                quote = QChar();
            } else if (quote == u'"' && c == u'\\' && i + 1 < line.size() &&
                       QStringLiteral("\"\\$`").contains(line.at(i + 1))) {
                value += line.at(++i);
            } else {
                value += c;
            }
            bareEnd = value.size();
        }
        found = value.left(bareEnd);
    }
    return found.value_or(QString());
}

QString PrettyName(const QByteArray& osRelease)
{
    QString name = OsReleaseValue(osRelease, QStringLiteral("PRETTY_NAME"));
    // Without one the format's own default stands.
    if (name.isEmpty())
        name = QStringLiteral("Linux");
    return name.left(100).trimmed();
}

QString ProcessorName(const QString& cpuinfoLine)
{
    const qsizetype colon = cpuinfoLine.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return QString();
    return cpuinfoLine.mid(colon + 1).simplified().left(100).trimmed();
}

Reading<DumpVerdict> MachineSystemInformation::DumpAtStart()
{
    Reading<DumpVerdict> read{DumpVerdict::Unread, {}};
    const QString dump = QString::fromLatin1(StoredDmiFile);
    if (!RunWriting(RunWith::Root, QString::fromLatin1(VcdProtocol::DumpToStoredDmiByPath), dump,
                    read.messages))
        return read;
    if (Host::current().FileExists(dump))
        read.value = JudgeDump(ReadCaptureLines(dump, RunWith::Root));
    if (read.value == DumpVerdict::Unread)
        read.messages.append({MessageKind::Plain, QString::fromLatin1(MsgNoBiosInformation)});
    else if (read.value == DumpVerdict::Foreign)
        read.messages.append({MessageKind::Error, QString::fromLatin1(MsgNotVeltor)});
    return read;
}

Reading<TSysInfoArray> MachineSystemInformation::Rows(int tab, int battery)
{
    Reading<TSysInfoArray> read;
    if (!CommandExists(QStringLiteral("dmidecode"), read.messages)) {
        read.messages.append({MessageKind::Error, QString::fromLatin1(MsgDmidecodeNotFound)});
        return read;
    }
    // Only a privileged run can read the DMI table; whether it worked shows in the dump itself.
    RunWriting(RunWith::Root, QString::fromLatin1(VcdProtocol::DumpToStoredDmi),
               QString::fromLatin1(StoredDmiFile), read.messages);
    switch (tab) {
    case GeneralTab:
        ReadGeneralRows(read.value, read.messages);
        break;
    case BiosTab:
        ReadBiosRows(read.value);
        break;
    case BatteryTab:
        read.value = ReadBatteryRows(battery);
        break;
    default:
        break;
    }
    return read;
}

Messages MachineSystemInformation::RemoveStoredDmi()
{
    Messages messages;
    RemoveCapture(QString::fromLatin1(StoredDmiFile), RunWith::Root, messages);
    return messages;
}

Reading<BiosPasswordStates> MachineSystemInformation::BiosPasswords()
{
    return ReadBiosPasswords();
}

} // namespace Ucomtc
