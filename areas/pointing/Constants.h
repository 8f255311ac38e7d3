// The pointing devices' paths, command lines and texts: the stick's sample rate, the touchpad's
// synclient and X server configuration, and libinput's devices as today's desktops switch them.
#pragma once

#include "machine/Constants.h"

namespace Ucomtc {

inline constexpr const char* PointingStickRateFile = VcdProtocol::PointingStickRate;
inline constexpr const char* ReadRateIntoCapture = "cat /sys/devices/platform/i8042/serio0/serio2/rate > ";
static_assert(VcdProtocol::Check::Joins(ReadRateIntoCapture, "cat ", PointingStickRateFile, " > "));

inline constexpr const char* MsgEchoNotFound = "command echo is not found";
// The touchpad dialog words the same failure two ways: this text when it is shown, the next one
// from OK and Apply. Both are what users have always seen there.
inline constexpr const char* MsgSynclientNotFound = "command synclient not found";
inline constexpr const char* MsgSynclientIsNotFound = "command synclient is not found";
inline constexpr const char* MsgTouchpadNotListed =
    "synclient did not list the touchpad's settings: the X server needs the touchpad's option SHMConfig on.";
// The touchpad dialog's note after OK or Apply when the X server configuration does not keep the
// choice that synclient switched live: one of the two openings, then the reason.
inline constexpr const char* MsgTouchpadOffNotKept =
    "The touchpad is switched off until the X server restarts. The setting could not be kept: ";
inline constexpr const char* MsgTouchpadOnNotKept =
    "The touchpad is switched on until the X server restarts. The setting could not be kept: ";
// Where synclient could not switch the pad now: one of the two openings, then whether the X server's
// configuration keeps it for the next start (and why not).
inline constexpr const char* MsgTouchpadOffNotNow = "The touchpad could not be switched off now: synclient "
                                                    "cannot reach it (the X server needs the touchpad's "
                                                    "option SHMConfig on)";
inline constexpr const char* MsgTouchpadOnNotNow =
    "The touchpad could not be switched on now: synclient cannot reach it (the X server needs the touchpad's "
    "option SHMConfig on)";
inline constexpr const char* MsgButKept = ". It is so from the X server's next start.";
inline constexpr const char* MsgAndNotKept = ", and the setting could not be kept: ";
inline constexpr const char* MsgXorgConfMissing = "there is no X server configuration /etc/X11/xorg.conf.";
inline constexpr const char* MsgXorgConfNeedsRoot =
    "changing the X server configuration /etc/X11/xorg.conf needs the program to run as root.";
inline constexpr const char* MsgXorgConfNoShmConfig =
    "/etc/X11/xorg.conf has no SHMConfig line to put the TouchpadOff option after.";
inline constexpr const char* MsgXorgConfEditFailed = "/etc/X11/xorg.conf could not be edited.";
inline constexpr const char* MsgNubstickDriverMissing =
    "Nubstick driver does not exist. Maybe your Linux kernel version is too low";

inline constexpr const char* InputClassFolder = "/sys/class/input";
inline constexpr const char* UdevDataFolder = "/run/udev/data";
inline constexpr const char* UdevTouchpad = "E:ID_INPUT_TOUCHPAD=1";
inline constexpr const char* UdevPointingStick = "E:ID_INPUT_POINTINGSTICK=1";
// An X device is known by its id, found through the libinput driver's "Device Node" property: a
// device the X server has switched off is a floating slave, which no "pointer:NAME" finds, and two
// devices may share a name. The loop runs its step on `$id` for each device of the event node;
// each run of a step takes the node's quoted path in between.
inline constexpr const char* XinputEachIdOfNode =
    "for id in $(xinput list --id-only 2>/dev/null); do xinput list-props $id 2>/dev/null | grep -qF ";
inline constexpr const char* XinputEachIdStep = " && ";
inline constexpr const char* XinputEachIdDone = "; done";
// The step that reads: only the "Device Enabled (N):<tab>0|1" line of the device's properties.
inline constexpr const char* XinputEnabledOfId = "xinput list-props $id | grep \"Device Enabled\"";
// KWin's input device eventN on the session bus: "(<true>,)" or "(<false>,)".
inline constexpr const char* KwinInputDevicePath = "/org/kde/KWin/InputDevice/";
inline constexpr const char* KwinEnabledGet =
    "gdbus call --session --dest org.kde.KWin --object-path /org/kde/KWin/InputDevice/";
inline constexpr const char* KwinEnabledProperty =
    " --method org.freedesktop.DBus.Properties.Get org.kde.KWin.InputDevice enabled 2>/dev/null > ";
static_assert(VcdProtocol::Check::Joins(KwinEnabledGet,
                                        "gdbus call --session --dest org.kde.KWin --object-path ",
                                        KwinInputDevicePath, ""));
inline constexpr const char* GnomeTouchpadSendEvents =
    "gsettings get org.gnome.desktop.peripherals.touchpad send-events 2>/dev/null > ";

// Switching a device today's way: xinput's property in an X session, kept by an autostart entry of
// the user's (removed again when the device is switched back on); KWin's property under Plasma on
// Wayland, kept in kcminputrc where KWin keeps it, in the group of the device's numbers and name;
// GNOME's send-events key, which GNOME keeps itself.
inline constexpr const char* XinputSetEnabledOfId = "xinput set-prop $id \"Device Enabled\" ";
// What the autostart entry runs at login: the program itself finds the device again there (its X
// id and event node may have changed) and switches it.
inline constexpr const char* ApplyDeviceStateOption = "apply-device-state";
inline constexpr const char* AutostartFolderInHome = "/.config/autostart";
inline constexpr const char* TouchpadAutostartFile = "/lapstone-configuration-touchpad.desktop";
inline constexpr const char* PointingStickAutostartFile = "/lapstone-configuration-pointingstick.desktop";
inline constexpr const char* KwinEnabledSet =
    " --method org.freedesktop.DBus.Properties.Set org.kde.KWin.InputDevice enabled ";
inline constexpr const char* KcminputrcGroup = " --file kcminputrc --group Libinput --group ";
inline constexpr const char* KcminputrcEnabledKey = " --key Enabled";
inline constexpr const char* KcminputrcAsBool = " --type bool ";
inline constexpr const char* GnomeTouchpadSendEventsSet =
    "gsettings set org.gnome.desktop.peripherals.touchpad send-events ";

// What the device dialogs and the resume dialog say when today's way cannot do what was chosen.
// The device dialogs put the device's name and the state into the texts: "the touchpad", "off".
inline constexpr const char* TouchpadName = "touchpad";
inline constexpr const char* PointingStickName = "pointing stick";
inline constexpr const char* MsgDeviceNotSwitched =
    "The %1 could not be switched %2: the desktop did not take the change.";
inline constexpr const char* MsgNoSuchDevice = "This computer has no %1.";
inline constexpr const char* MsgNeedsXinput =
    "The X session needs xinput to switch the %1: install the package xinput.";
inline constexpr const char* MsgDeviceStateUnread = "The desktop did not say whether the %1 is on.";
inline constexpr const char* MsgNoSwitchOnDesktop =
    "This desktop has no switch for the %1: it can be switched only under Plasma, GNOME or an X session.";
inline constexpr const char* MsgNoStickSwitchOnGnome =
    "GNOME has no switch for the pointing stick: it stays on.";
inline constexpr const char* MsgDeviceNotKept =
    "The %1 is switched %2 until you log out. The setting could not be kept: %3";
inline constexpr const char* MsgAutostartNotWritten = "the autostart entry %1 could not be written.";
inline constexpr const char* MsgAutostartNotRemoved = "the autostart entry %1 could not be removed.";
inline constexpr const char* MsgDeviceNumbersUnknown = "the device's vendor and product numbers are unknown.";
inline constexpr const char* MsgKcminputrcNotWritten = "kcminputrc could not be written.";

} // namespace Ucomtc
