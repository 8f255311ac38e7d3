#include "Battery.h"

#include "CaptureFile.h"
#include "Commands.h"
#include "Constants.h"
#include "Messages.h"

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

bool HasBothFiles(const char* statePath, const char* infoPath)
{
    return FileExists(QString::fromLatin1(statePath)) && FileExists(QString::fromLatin1(infoPath));
}

void CopyPair(const char* copyState, const char* copyInfo)
{
    const QString state = QString::fromLatin1(StateCaptureFile);
    const QString info = QString::fromLatin1(InfoCaptureFile);
    RunWriting(RunWith::Shell, QString::fromLatin1(copyState) + state, state);
    RunWriting(RunWith::Shell, QString::fromLatin1(copyInfo) + info, info);
}

} // namespace

QStringList BatteryEntries()
{
    QStringList entries;
    if (FileExists(QString::fromLatin1(Bat0StatePath)))
        entries.append(QStringLiteral("Battery1"));
    if (FileExists(QString::fromLatin1(Bat1StatePath)))
        entries.append(QStringLiteral("Battery2"));
    return entries;
}

int BatteryOfEntry(const QString& entry)
{
    if (entry == QLatin1String("Battery1"))
        return 0;
    if (entry == QLatin1String("Battery2"))
        return 1;
    return -1;
}

void CopyBatteryFiles(int battery)
{
    if (battery == 0) {
        if (HasBothFiles(Bat0StatePath, Bat0InfoPath))
            CopyPair(CopyBat0StateCommand, CopyBat0InfoCommand);
        else if (HasBothFiles(Bat1StatePath, Bat1InfoPath))
            CopyPair(CopyBat1StateCommand, CopyBat1InfoCommand);
        else
            ShowError(QString::fromLatin1(MsgNoBatteryOrBatinfo));
    } else if (battery == 1) {
        if (HasBothFiles(Bat1StatePath, Bat1InfoPath))
            CopyPair(CopyBat1StateCommand, CopyBat1InfoCommand);
        else
            ShowError(QString::fromLatin1(MsgBatinfoNeeded));
    }
}

void ReadBatteryRows(TSysInfoArray& rows)
{
    const TStringinfo state = ReadCaptureFile(QString::fromLatin1(StateCaptureFile),
                                              static_cast<int>(BatteryStateKeys.size()), BatteryStateKeys);
    const TStringinfo info = ReadCaptureFile(QString::fromLatin1(InfoCaptureFile),
                                             static_cast<int>(BatteryInfoKeys.size()), BatteryInfoKeys);
    const auto add = [&rows](const char* attribute, const QString& value) {
        rows.append({QString::fromLatin1(attribute), value});
    };

    rows.clear();
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
}

} // namespace Ucomtc
