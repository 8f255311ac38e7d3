#include "areas/pointing/PointingDevices.h"

#include "areas/pointing/Constants.h"
#include "areas/pointing/InputDevices.h"
#include "machine/Capture.h"
#include "machine/Constants.h"

namespace Ucomtc {

namespace {

const QString XorgConf = QStringLiteral("/etc/X11/xorg.conf");

// The way the machine has for a device: its old driver, else libinput's device where udev knows
// one, else none.
struct DeviceWay
{
    bool driver = false;
    std::optional<InputDevice> libinput;
};

DeviceWay WayFor(PointingDevice device, Messages& messages)
{
    const bool driver = device == PointingDevice::PointingStick
                            ? Host::current().FileExists(QString::fromLatin1(PointingStickRateFile))
                            : CommandExists(QStringLiteral("synclient"), messages);
    if (driver)
        return {true, std::nullopt};
    return {false, FindInputDevice(device)};
}

std::optional<DeviceState> ReadRate(Messages& messages)
{
    const QString captureFile = QString::fromLatin1(NubstickCaptureFile);
    const QString rate =
        CaptureFirstLine(RunWith::System, QString::fromLatin1(ReadRateIntoCapture) + captureFile, captureFile,
                         RunWith::Shell, messages);
    // An empty rate file counts as on: only a rate of 0 turns the stick off.
    return StateOf(!rate.startsWith(QLatin1Char('0')));
}

std::optional<DeviceState> ReadListing(Messages& messages)
{
    const QString captureFile = QString::fromLatin1(TouchpadCaptureFile);
    const QString line =
        CaptureFirstLine(RunWith::System, QStringLiteral("synclient -l | grep TouchpadOff > ") + captureFile,
                         captureFile, RunWith::Shell, messages);
    // No line at all: synclient could not reach the driver (the X server has no SHMConfig on), so
    // the listing says nothing of the pad, which is not the same as off.
    if (line.isEmpty()) {
        messages.append({MessageKind::Error, QString::fromLatin1(MsgTouchpadNotListed)});
        return std::nullopt;
    }
    return StateOf(TouchpadWorksFromListing(line));
}

void WriteRate(bool enable, Messages& messages)
{
    if (!CommandExists(QStringLiteral("echo"), messages)) {
        messages.append({MessageKind::Error, QString::fromLatin1(MsgEchoNotFound)});
        return;
    }
    // The rate file is root's: the daemon writes it. A missing daemon is said on the way.
    RunCommand(RunWith::Root, QString::fromLatin1(enable ? VcdProtocol::RateOn : VcdProtocol::RateOff),
               messages);
}

// Why the configuration does not keep the choice just switched live, or nullptr when it does.
const char* WhyNotKept(bool disable, bool edited)
{
    Host& host = Host::current();
    // Without a configuration the X server starts with the pad on, so only switching it off is lost.
    if (!host.FileExists(XorgConf))
        return disable ? MsgXorgConfMissing : nullptr;
    if (!edited)
        return host.GetUid() != 0 ? MsgXorgConfNeedsRoot : MsgXorgConfEditFailed;
    // sed adds the option only after a SHMConfig line; without one the edit "succeeds" with nothing.
    if (disable && host.System(QStringLiteral("grep -q SHMConfig ") + XorgConf) != 0)
        return MsgXorgConfNoShmConfig;
    return nullptr;
}

void WriteSynclient(bool enable, Messages& messages)
{
    Host& host = Host::current();
    const QString scratchFile = QString::fromLatin1(XorgConfigScratchFile);
    const bool disable = !enable;
    bool edited = true;
    // Old option lines go first, so that switching off again does not pile them up. Both edits run
    // whatever became of the first, as they always have.
    int live = 0;
    if (disable) {
        live = host.System(QStringLiteral("synclient TouchpadOff=1"));
        edited &= EditFileWithSed(QStringLiteral("sed /TouchpadOff/d"), XorgConf, scratchFile,
                                  RunWith::System, messages);
        edited &= EditFileWithSed(QStringLiteral(R"(sed /SHMConfig/a\Option\ \"TouchpadOff\"\ \"1\")"),
                                  XorgConf, scratchFile, RunWith::System, messages);
    } else {
        live = host.System(QStringLiteral("synclient TouchpadOff=0"));
        edited = EditFileWithSed(QStringLiteral("sed /TouchpadOff/d"), XorgConf, scratchFile, RunWith::System,
                                 messages);
    }
    // synclient fails where it cannot reach the driver: then nothing was switched now, and saying
    // that it was would be a change reported as done.
    const char* why = WhyNotKept(disable, edited);
    if (!Succeeded(live))
        messages.append(
            {MessageKind::Error, QString::fromLatin1(disable ? MsgTouchpadOffNotNow : MsgTouchpadOnNotNow) +
                                     QString::fromLatin1(why ? MsgAndNotKept : MsgButKept) +
                                     QString::fromLatin1(why ? why : "")});
    else if (why)
        messages.append(
            {MessageKind::Plain, QString::fromLatin1(disable ? MsgTouchpadOffNotKept : MsgTouchpadOnNotKept) +
                                     QString::fromLatin1(why)});
}

} // namespace

Reading<std::optional<DeviceState>> MachinePointingDevices::Read(PointingDevice device)
{
    Reading<std::optional<DeviceState>> read;
    const DeviceWay way = WayFor(device, read.messages);
    if (way.driver)
        read.value =
            device == PointingDevice::PointingStick ? ReadRate(read.messages) : ReadListing(read.messages);
    else if (way.libinput)
        read.value = ReadLibinputState(*way.libinput, read.messages);
    else
        read.messages.append({MessageKind::Error, QString::fromLatin1(device == PointingDevice::PointingStick
                                                                          ? MsgNubstickDriverMissing
                                                                          : MsgSynclientNotFound)});
    return read;
}

Change MachinePointingDevices::Switch(PointingDevice device, std::optional<DeviceState> state)
{
    Change change;
    const DeviceWay way = WayFor(device, change.messages);
    if (!way.driver && !way.libinput) {
        change.messages.append(
            {MessageKind::Error,
             QString::fromLatin1(device == PointingDevice::PointingStick ? MsgNubstickDriverMissing
                                                                         : MsgSynclientIsNotFound)});
        return change;
    }
    if (!state)
        return change;
    if (way.libinput) {
        Change today = SwitchInputDevice(*way.libinput, *state);
        today.messages = change.messages + today.messages;
        return today;
    }
    // The old drivers know on and off only.
    const bool enable = *state == DeviceState::On;
    if (device == PointingDevice::PointingStick)
        WriteRate(enable, change.messages);
    else
        WriteSynclient(enable, change.messages);
    return change;
}

bool TouchpadWorksFromListing(const QString& line)
{
    // The parameter says whether the pad is off, so "0" means it works; a line without a value, or
    // no line at all, shows it as off.
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    return equals >= 0 && TrimLeadingBlanks(line.mid(equals + 1)).startsWith(QLatin1Char('0'));
}

QString DeviceStateText(DeviceState state)
{
    switch (state) {
    case DeviceState::On:
        return QStringLiteral("Automatic");
    case DeviceState::Off:
        break;
    case DeviceState::OffWithMouse:
        return QStringLiteral("Off with a mouse");
    }
    return QStringLiteral("Disable");
}

QString DeviceStateText(std::optional<DeviceState> state)
{
    return state ? DeviceStateText(*state) : QString::fromLatin1(UnknownText);
}

DeviceState StateOf(bool enabled)
{
    return enabled ? DeviceState::On : DeviceState::Off;
}

QString DeviceStateArgument(PointingDevice device, bool enable)
{
    return QString::fromLatin1(device == PointingDevice::Touchpad ? "touchpad" : "pointingstick") +
           (enable ? QStringLiteral("=on") : QStringLiteral("=off"));
}

std::optional<std::pair<PointingDevice, bool>> ParseDeviceStateArgument(const QString& argument)
{
    for (const PointingDevice device : {PointingDevice::Touchpad, PointingDevice::PointingStick}) {
        for (const bool enable : {true, false}) {
            if (argument == DeviceStateArgument(device, enable))
                return std::pair{device, enable};
        }
    }
    return std::nullopt;
}

} // namespace Ucomtc
