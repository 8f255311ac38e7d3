// The pointing stick and the touchpad: whether each is on, switching it, and keeping the choice for
// the next session, on every platform the program meets. The device dialogs and the system report
// only present what this area reads and says.
//
// The ways, chosen in one place for reading and switching alike:
// - the stick's sample rate under /sys/devices/platform/i8042 (0 is off), written by the daemon;
// - the touchpad's synclient, with the TouchpadOff option of /etc/X11/xorg.conf to keep it;
// - where those drivers are missing, libinput as the session's desktop holds it
//   (areas/pointing/InputDevices.h): xinput in an X session, KWin under Plasma on Wayland, GNOME's
//   send-events for the touchpad.
#pragma once

#include "machine/Message.h"

#include <QString>
#include <optional>
#include <utility>

namespace Ucomtc {

enum class PointingDevice
{
    Touchpad,
    PointingStick,
};

// A device's state as the dialogs offer it: on ("Automatic"), off ("Disable"), or, as GNOME keeps
// its touchpad, off only while a mouse is plugged in ("Off with a mouse").
enum class DeviceState
{
    On,
    Off,
    OffWithMouse,
};

class PointingDevices
{
public:
    virtual ~PointingDevices() = default;

    // The device's state; nothing, with the reason among the messages, when that cannot be read (no
    // such device, or a desktop that does not say).
    virtual Reading<std::optional<DeviceState>> Read(PointingDevice device) = 0;
    // Switches the device and keeps the choice for the next session where the way can; `state` is
    // nothing where no state was chosen (the dialog showed none), and then nothing is written. Not
    // made when a change made today's way did not take; the old drivers' ways cannot tell and
    // always count as made, after their messages.
    virtual Change Switch(PointingDevice device, std::optional<DeviceState> state) = 0;
};

// The devices of the machine the program runs on, through the current host.
class MachinePointingDevices final : public PointingDevices
{
public:
    Reading<std::optional<DeviceState>> Read(PointingDevice device) override;
    Change Switch(PointingDevice device, std::optional<DeviceState> state) override;
};

// The touchpad's reading rule on one listing line: the value after the "=", blanks skipped, starting
// with "0" means the pad works (no line at all says nothing: the state is unknown). synclient pads the
// parameter names to 20 or, in newer releases, 23 characters, so the value has no fixed column.
bool TouchpadWorksFromListing(const QString& line);

// The words the device dialogs and the report show for a state, and for one that could not be read.
QString DeviceStateText(DeviceState state);
QString DeviceStateText(std::optional<DeviceState> state);
// The state that on or off is.
DeviceState StateOf(bool enabled);

// The value of the program's option that applies a device's state at login, "touchpad=off", and
// back; nothing for a value it does not know.
QString DeviceStateArgument(PointingDevice device, bool enable);
std::optional<std::pair<PointingDevice, bool>> ParseDeviceStateArgument(const QString& argument);

} // namespace Ucomtc
