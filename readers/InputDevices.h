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
    QString sysName; // eventN
    QString name;    // as the kernel names the device
};

// The first event device (by number) that udev's database marks as `device`.
std::optional<InputDevice> FindInputDevice(PointingDevice device);

// Whether libinput has the device enabled: "Device Enabled" from xinput in an X session, KWin's
// input device on the session bus under Plasma on Wayland, the touchpad's send-events under GNOME
// (which has no switch for a pointing stick). Nothing when there is no such device or no desktop
// that could say.
std::optional<bool> ReadLibinputEnabled(PointingDevice device, Messages& messages);

// The answers of the three tools: xinput's "Device Enabled (N):<TAB>1" line, gdbus's "(<true>,)",
// gsettings' "'enabled'"; nothing for anything else.
std::optional<bool> XinputEnabled(const QString& line);
std::optional<bool> KwinEnabled(const QString& line);
std::optional<bool> GnomeSendEventsEnabled(const QString& line);

} // namespace Ucomtc
