// Changes made today's way, where the old drivers and the old power manager are missing: the
// touchpad and the pointing stick switched through libinput as the session's desktop holds it, the
// resume lock written where the desktop's screen locker keeps it. Each call shows its own boxes and
// says whether the change was made; a change is taken as made only when reading it back agrees.
#pragma once

#include "readers/InputDevices.h"

#include <optional>
#include <utility>

namespace Ucomtc {

// Switches `device` on or off at once: xinput's "Device Enabled" in an X session, KWin's `enabled`
// under Plasma on Wayland, GNOME's send-events for the touchpad. Then keeps the choice for the next
// session: an autostart entry of the user's that switches the device off at login (removed when it
// is switched on), kcminputrc, or GNOME's own settings. False, after an error box, when the desktop
// did not take the change; a plain box when it took it but the choice could not be kept.
bool SwitchInputDevice(const InputDevice& device, bool enable);

// The value of the program's option that applies a device's state at login, "touchpad=off", and
// back; nothing for a value it does not know.
QString DeviceStateArgument(PointingDevice device, bool enable);
std::optional<std::pair<PointingDevice, bool>> ParseDeviceStateArgument(const QString& argument);
// Switches the device in an X session, found again by its event node, as the autostart entry asks
// at login; read back. What went wrong, or nothing (also where the session is not an X session,
// whose desktop keeps the choice itself).
Messages ApplyDeviceState(PointingDevice device, bool enable);

// Whether the screen is locked before suspend, as today's desktop keeps it: Plasma's LockOnResume
// (kwriteconfig5, else kwriteconfig6), after which the screen locker is told to read it; GNOME's
// lock-enabled. False, after an error box, when the setting could not be saved.
bool WriteDesktopResumeLock(bool lock);

// A text as one argument of a desktop entry's Exec line: quoted where it has to be, with the
// entry's escapes ("%%", doubled backslashes).
QString DesktopExecWord(const QString& text);

} // namespace Ucomtc
