#include "areas/batteries/Battery.h"

#include "areas/batteries/Constants.h"
#include "areas/batteries/PowerSupply.h"
#include "machine/Capture.h"
#include "machine/Constants.h"

namespace Ucomtc {

namespace {

enum StateValue
{
    AcAttached,
    Temperature,
    Voltage,
    Current,
    RelativeCharge,
    RemainingCapacity,
    FullChargeCapacity,
    TimeToEmpty,
    CycleCount,
};

// The info file's values in the order they are shown, the same in both layouts.
constexpr int InfoRowOrder[] = {0, 7, 4, 8, 3, 1, 2, 5, 6};
constexpr const char* InfoAttributes[] = {"Manufacture name", "Manufacture date",  "First used date",
                                          "Serial number",    "Bar-coding number", "Battery name",
                                          "Device chemistry", "Design capacity",   "Design voltage"};

bool FileExists(const char* path)
{
    return Host::current().FileExists(QString::fromLatin1(path));
}

bool HasBothFiles(const char* statePath, const char* infoPath)
{
    return FileExists(statePath) && FileExists(infoPath);
}

void CopyPair(const char* copyState, const char* copyInfo, Messages& messages)
{
    const QString state = QString::fromLatin1(StateCaptureFile);
    const QString info = QString::fromLatin1(InfoCaptureFile);
    RunWriting(RunWith::Shell, QString::fromLatin1(copyState) + state, state, messages);
    RunWriting(RunWith::Shell, QString::fromLatin1(copyInfo) + info, info, messages);
}

} // namespace

bool BatteryDriverPresent()
{
    return FileExists(Bat0StatePath) || FileExists(Bat1StatePath);
}

QStringList BatteryEntries()
{
    QStringList entries;
    if (FileExists(Bat0StatePath))
        entries.append(QStringLiteral("Battery1"));
    if (FileExists(Bat1StatePath))
        entries.append(QStringLiteral("Battery2"));
    if (entries.isEmpty()) {
        const auto batteries = PowerSupplyBatteries().size();
        for (qsizetype i = 1; i <= batteries; ++i)
            entries.append(QStringLiteral("Battery") + QString::number(i));
    }
    return entries;
}

int BatteryOfEntry(const QString& entry)
{
    const QString prefix = QStringLiteral("Battery");
    bool ok = false;
    const int number = entry.startsWith(prefix) ? entry.mid(prefix.size()).toInt(&ok) : 0;
    // Only the plain digits that BatteryEntries writes.
    return ok && number > 0 && entry == prefix + QString::number(number) ? number - 1 : -1;
}

Messages CopyBatteryFiles(int battery)
{
    Messages messages;
    if (!BatteryDriverPresent()) {
        const auto batteries = PowerSupplyBatteries().size();
        if (battery == 0 && batteries == 0)
            messages.append({MessageKind::Error, QString::fromLatin1(MsgNoBatteryOrBatinfo)});
        else if (battery == 1 && batteries < 2)
            messages.append({MessageKind::Error, QString::fromLatin1(MsgBatinfoNeeded)});
        return messages;
    }
    if (battery == 0) {
        if (HasBothFiles(Bat0StatePath, Bat0InfoPath))
            CopyPair(CopyBat0StateCommand, CopyBat0InfoCommand, messages);
        else if (HasBothFiles(Bat1StatePath, Bat1InfoPath))
            CopyPair(CopyBat1StateCommand, CopyBat1InfoCommand, messages);
        else
            messages.append({MessageKind::Error, QString::fromLatin1(MsgNoBatteryOrBatinfo)});
    } else if (battery == 1) {
        if (HasBothFiles(Bat1StatePath, Bat1InfoPath))
            CopyPair(CopyBat1StateCommand, CopyBat1InfoCommand, messages);
        else
            messages.append({MessageKind::Error, QString::fromLatin1(MsgBatinfoNeeded)});
    }
    return messages;
}

Messages RemoveBatteryCopies()
{
    Messages messages;
    for (const char* copy : {StateCaptureFile, InfoCaptureFile})
        RemoveCapture(QString::fromLatin1(copy), RunWith::Shell, messages);
    return messages;
}

TSysInfoArray ReadBatteryRows(int battery)
{
    if (!BatteryDriverPresent()) {
        const QStringList batteries = PowerSupplyBatteries();
        return battery >= 0 && battery < batteries.size() ? PowerSupplyRows(batteries[battery])
                                                          : TSysInfoArray();
    }
    TSysInfoArray rows;
    const TStringinfo state = ReadCaptureFile(QString::fromLatin1(StateCaptureFile),
                                              static_cast<int>(BatteryStateKeys.size()), BatteryStateKeys);
    const TStringinfo info = ReadCaptureFile(QString::fromLatin1(InfoCaptureFile),
                                             static_cast<int>(BatteryInfoKeys.size()), BatteryInfoKeys);
    const auto add = [&rows](const char* attribute, const QString& value) {
        rows.append({QString::fromLatin1(attribute), value});
    };

    // Anything but exactly "Yes" counts as running on the battery.
    if (state[AcAttached] == QLatin1String("Yes")) {
        rows.reserve(15);
        const bool full = state[RelativeCharge].contains(QLatin1String("100%"));
        add("Status", QString::fromLatin1(full ? "Charged" : "Charging"));
        add("Remaining percentage", state[RelativeCharge]);
        add("Remaining capacity", state[RemainingCapacity]);
        add("Full charge capacity", state[FullChargeCapacity]);
        add("Temperature", state[Temperature]);
        add("Cycle count", state[CycleCount]);
    } else {
        rows.reserve(18);
        add("Status", QStringLiteral("Discharging"));
        add("Remaining percentage", state[RelativeCharge]);
        add("Remaining time", state[TimeToEmpty]);
        add("Remaining capacity", state[RemainingCapacity]);
        add("Full charge capacity", state[FullChargeCapacity]);
        add("Current", state[Current]);
        add("Voltage", state[Voltage]);
        add("Temperature", state[Temperature]);
        add("Cycle count", state[CycleCount]);
    }
    for (std::size_t i = 0; i < std::size(InfoRowOrder); ++i)
        add(InfoAttributes[i], info[InfoRowOrder[i]]);
    return rows;
}

QStringList MachineBatteries::Entries()
{
    return BatteryEntries();
}

Messages MachineBatteries::Copy(int battery)
{
    return CopyBatteryFiles(battery);
}

Messages MachineBatteries::RemoveCopies()
{
    return RemoveBatteryCopies();
}

} // namespace Ucomtc
