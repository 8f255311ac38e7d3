// The touchpad and the pointing stick as today's desktops see them: found by the properties udev
// gives their event devices, switched on and off by libinput, whose state the session's desktop
// holds and keeps. Used where the old drivers are missing. A change counts as made only when
// reading it back agrees: the tools' exit statuses do not tell.
#pragma once

#include "areas/pointing/PointingDevices.h"
#include "machine/Message.h"

#include <QString>
#include <optional>

namespace Ucomtc {

struct InputDevice
{
    PointingDevice kind;
    QString sysName; // eventN
    QString name;    // as the kernel names the device
    // The kernel's vendor and product numbers of the device (its id/vendor and id/product), when
    // it gives them.
    std::optional<int> vendor;
    std::optional<int> product;
};

// The first event device (by number) that udev's database marks as `device`.
std::optional<InputDevice> FindInputDevice(PointingDevice device);

// How the session's desktop holds libinput's state of a device: the touchpad's send-events under
// GNOME (on Xorg too), else "Device Enabled" through xinput in an X session, KWin's input device on
// the session bus under Plasma on Wayland. None where the desktop has no switch for it (GNOME's
// pointing stick on Wayland, an unknown desktop); NoSwitchReason says which.
enum class LibinputWay
{
    Xinput,
    Kwin,
    GnomeSendEvents,
    None,
};
LibinputWay LibinputWayFor(PointingDevice device);
QString NoSwitchReason(PointingDevice device);

// Libinput's state of the device, the desktop's way. Nothing, with a message that says why, when
// the desktop does not say (or, in an X session, xinput is not installed).
std::optional<DeviceState> ReadLibinputState(const InputDevice& device, Messages& messages);

// A line that runs `step` (a line of its own, on "$id") for the X device, or devices, whose
// libinput "Device Node" is the device's event node.
QString XinputOnDevice(const InputDevice& device, const QString& step);

// "the touchpad" or "the pointing stick" into `text`'s %1.
QString WithDeviceName(const char* text, PointingDevice device);

// Switches `device` on or off at once: xinput's "Device Enabled" in an X session, KWin's `enabled`
// under Plasma on Wayland, GNOME's send-events for the touchpad. Then keeps the choice for the next
// session: an autostart entry of the user's that switches the device off at login (removed when it
// is switched on), kcminputrc, or GNOME's own settings. Not made, with an error, when the desktop
// did not take the change; made, with a plain message, when it took it but could not keep it.
Change SwitchInputDevice(const InputDevice& device, DeviceState state);

// Switches the device in an X session, found again by its event node, as the autostart entry asks
// at login; read back. What went wrong, or nothing (also where the session is not an X session,
// whose desktop keeps the choice itself).
Messages ApplyDeviceState(PointingDevice device, bool enable);

// A text as one argument of a desktop entry's Exec line: quoted where it has to be, with the
// entry's escapes ("%%", doubled backslashes).
QString DesktopExecWord(const QString& text);

// The answers of the three tools: xinput's "Device Enabled (N):<TAB>1" line, gdbus's "(<true>,)",
// gsettings' "'enabled'", "'disabled'" or "'disabled-on-external-mouse'"; nothing for anything else.
std::optional<bool> XinputEnabled(const QString& line);
std::optional<bool> KwinEnabled(const QString& line);
std::optional<DeviceState> GnomeSendEventsState(const QString& line);
// GNOME's word for a state of the touchpad's send-events.
const char* GnomeSendEventsWord(DeviceState state);

} // namespace Ucomtc
