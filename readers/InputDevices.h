// The touchpad and the pointing stick as today's desktops see them: found by the properties udev
// gives their event devices, switched on and off by libinput, whose state the session's desktop
// holds. Used where the old drivers' sources are missing.
#pragma once

#include "machine/Message.h"

#include <QString>
#include <optional>

namespace Ucomtc {

enum class PointingDevice
{
    Touchpad,
    PointingStick,
};

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

// How the session's desktop holds libinput's state of a device: "Device Enabled" through xinput in
// an X session, KWin's input device on the session bus under Plasma on Wayland, the touchpad's
// send-events under GNOME. None where the desktop has no switch for it (GNOME's pointing stick, an
// unknown desktop); NoSwitchReason says which.
enum class LibinputWay
{
    Xinput,
    Kwin,
    GnomeSendEvents,
    None,
};
LibinputWay LibinputWayFor(PointingDevice device);
QString NoSwitchReason(PointingDevice device);

// Whether libinput has the device enabled, the desktop's way. Nothing, with a message that says
// why, when the desktop does not say.
std::optional<bool> ReadLibinputEnabled(const InputDevice& device, Messages& messages);

// A line that runs `step` (a line of its own, on "$id") for the X device, or devices, whose
// libinput "Device Node" is the device's event node.
QString XinputOnDevice(const InputDevice& device, const QString& step);

// "the touchpad" or "the pointing stick" into `text`'s %1.
QString WithDeviceName(const char* text, PointingDevice device);

// The answers of the three tools: xinput's "Device Enabled (N):<TAB>1" line, gdbus's "(<true>,)",
// gsettings' "'enabled'"; nothing for anything else.
std::optional<bool> XinputEnabled(const QString& line);
std::optional<bool> KwinEnabled(const QString& line);
std::optional<bool> GnomeSendEventsEnabled(const QString& line);

} // namespace Ucomtc
