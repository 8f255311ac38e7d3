#include "tests/support/FakeAreas.h"

#include "machine/Constants.h"
#include "machine/IoError.h"

using namespace Ucomtc;

namespace {

QString DeviceName(PointingDevice device)
{
    return device == PointingDevice::Touchpad ? QStringLiteral("touchpad") : QStringLiteral("pointing stick");
}

QString KeeperName(LockKeeper keeper)
{
    switch (keeper) {
    case LockKeeper::Kde3:
        return QStringLiteral("KDE 3");
    case LockKeeper::Plasma:
        return QStringLiteral("Plasma");
    case LockKeeper::Gnome:
        return QStringLiteral("GNOME");
    case LockKeeper::None:
        break;
    }
    return QStringLiteral("nobody");
}

} // namespace

QString SettingName(Setting setting)
{
    static const char* const names[] = {"Audio",          "Modem",      "Display", "PowerManager",
                                        "NetworkAdapter", "Infrared",   "Mouse",   "TouchpadMouse",
                                        "Users",          "ScreenSaver"};
    return QString::fromLatin1(names[static_cast<int>(setting)]);
}

FakeAreas::FakeAreas() = default;

Reading<DumpVerdict> FakeAreas::System::DumpAtStart()
{
    script.log.append(QStringLiteral("dump"));
    if (script.duringDump)
        script.duringDump();
    if (!script.dumpUnreadable.isEmpty())
        throw IoError(QString::fromLatin1(StoredDmiFile), script.dumpUnreadable);
    return script.dump;
}

Messages FakeAreas::System::RemoveStoredDmi()
{
    script.log.append(QStringLiteral("remove dump"));
    return script.dumpRemoval;
}

Reading<TSysInfoArray> FakeAreas::System::Rows(int tab, int battery)
{
    script.log.append(QStringLiteral("rows %1 %2").arg(tab).arg(battery));
    if (!script.unreadableRows.isEmpty())
        throw IoError(script.unreadableRows, QStringLiteral("Is a directory"));
    return script.rows.value(tab == BatteryTab ? BatteryTab + battery : tab);
}

Reading<BiosPasswordStates> FakeAreas::System::BiosPasswords()
{
    script.log.append(QStringLiteral("passwords"));
    return script.passwords;
}

QStringList FakeAreas::Batteries::Entries()
{
    script.log.append(QStringLiteral("batteries"));
    return script.batteryEntries;
}

Messages FakeAreas::Batteries::Copy(int battery)
{
    script.log.append(QStringLiteral("copy battery %1").arg(battery));
    return script.batteryCopies.value(battery);
}

Messages FakeAreas::Batteries::RemoveCopies()
{
    script.log.append(QStringLiteral("remove battery copies"));
    return {};
}

Reading<std::optional<DeviceState>> FakeAreas::Pointing::Read(PointingDevice device)
{
    script.log.append(QStringLiteral("read ") + DeviceName(device));
    return script.devices.value(device);
}

Change FakeAreas::Pointing::Switch(PointingDevice device, std::optional<DeviceState> state)
{
    static const char* const words[] = {" on", " off", " off with a mouse"};
    script.log.append(
        QStringLiteral("switch ") + DeviceName(device) +
        (state ? QLatin1String(words[static_cast<int>(*state)]) : QLatin1String(", nothing chosen")));
    return script.deviceChange;
}

Reading<LockState> FakeAreas::Locks::ScreenSaverLock()
{
    script.log.append(QStringLiteral("read screen saver lock"));
    return script.screenSaverLock;
}

Reading<LockState> FakeAreas::Locks::ReadResumeLock()
{
    script.log.append(QStringLiteral("read resume lock"));
    return script.resumeLock;
}

Change FakeAreas::Locks::WriteResumeLock(LockKeeper keeper, bool lock)
{
    script.log.append(QStringLiteral("write resume lock ") +
                      (lock ? QStringLiteral("on") : QStringLiteral("off")) + QStringLiteral(" for ") +
                      KeeperName(keeper));
    return script.resumeLockChange;
}

Launch FakeAreas::HandOvers::Start(Setting setting)
{
    script.log.append(QStringLiteral("start ") + SettingName(setting));
    return script.launches.value(setting);
}

Messages FakeAreas::HandOvers::ShowHelp(const HelpPage& page)
{
    script.log.append(QStringLiteral("help ") + QString::fromLatin1(page.path));
    return script.help;
}
