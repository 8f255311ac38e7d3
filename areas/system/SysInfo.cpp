#include "areas/system/SysInfo.h"

#include "areas/batteries/Battery.h"
#include "areas/system/Constants.h"
#include "machine/Capture.h"
#include "machine/Constants.h"

#include <QRegularExpression>

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
    for (const char* file : OsReleaseFiles) {
        if (const auto text = Host::current().ReadTextFile(QString::fromLatin1(file))) {
            const QString name = PrettyName(*text);
            if (!name.isEmpty())
                return name;
        }
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

QString PrettyName(const QByteArray& osRelease)
{
    const QString key = QStringLiteral("PRETTY_NAME=");
    for (const QString& line : QString::fromUtf8(osRelease).split(QLatin1Char('\n'))) {
        if (!line.startsWith(key))
            continue;
        QString value = line.mid(key.size()).trimmed();
        // A shell-style value: in double or single quotes, or bare; backslashes escape in the first.
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front()) {
            const QChar quote = value.front();
            value = value.mid(1, value.size() - 2);
            if (quote == u'"') {
                static const QRegularExpression escaped(QStringLiteral(R"(\\([\\$"`]))"));
                value.replace(escaped, QStringLiteral("\\1"));
            }
        }
        return value.left(100).trimmed();
    }
    return QString();
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
