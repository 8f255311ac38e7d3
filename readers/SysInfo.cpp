#include "readers/SysInfo.h"

#include "machine/Capture.h"
#include "readers/Battery.h"
#include "services/Constants.h"

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

    // The line starts with "Welcome to "; what follows names the distribution.
    rows[0].Value = CaptureFirstLine(RunWith::Shell, QStringLiteral("grep Linux /etc/issue > /tmp/dmidecode"),
                                     QString::fromLatin1(DmidecodeCaptureFile), RunWith::Shell, messages)
                        .mid(11, 30);

    rows[1].Value =
        CaptureFirstLine(RunWith::System,
                         QStringLiteral("gawk '{print $1\" \" $2\" \" $3}' /proc/version > /tmp/dmidecode"),
                         QString::fromLatin1(DmidecodeCaptureFile), RunWith::Shell, messages)
            .left(100);

    // Only the first processor's line is read: they all name the same model.
    rows[2].Value =
        CaptureFirstLine(RunWith::System,
                         QStringLiteral("grep \"model name\" /proc/cpuinfo | gawk '{print $4\" \" $5\" "
                                        "\" $6\" \" $7\" \" $8\" \" $9}' > /tmp/dmidecode"),
                         QString::fromLatin1(DmidecodeCaptureFile), RunWith::Shell, messages)
            .left(100);

    const QString memFile = QString::fromLatin1(MemCaptureFile);
    rows[3].Value = CaptureFirstLine(
                        RunWith::System,
                        QStringLiteral("grep \"MemTotal\" /proc/meminfo | gawk '{print $2 $3}' > ") + memFile,
                        memFile, RunWith::Shell, messages)
                        .left(100);

    rows[4].Value = dmi[BiosVersion];
    rows[5].Value = dmi[ProductName];
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
}

} // namespace

Reading<TSysInfoArray> GetSysInfo(int tab)
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
        read.value = ReadBatteryRows();
        break;
    default:
        break;
    }
    return read;
}

Messages RemoveStoredDmi()
{
    Messages messages;
    RemoveCapture(QString::fromLatin1(StoredDmiFile), RunWith::Root, messages);
    return messages;
}

} // namespace Ucomtc
