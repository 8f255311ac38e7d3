// Process-wide constants: paths, command fragments, lookup keys and messages: the one home of each.
// They are shared by every layer above protocol/ (header only); the order follows the table the
// forms were designed against.
#pragma once

#include "protocol/DaemonProtocol.h"

#include <array>

namespace Ucomtc {

inline constexpr std::array<const char*, 9> BatteryStateKeys{"AC attached:",
                                                             "Temperature:",
                                                             "Voltage:",
                                                             "Current:",
                                                             "RelativeStateofCharge:",
                                                             "RemainingCapacity:",
                                                             "FullChargeCapacity:",
                                                             "AverageTimeToEmpty:",
                                                             "Cycle Count:"};

inline constexpr std::array<const char*, 9> BatteryInfoKeys{
    "Manufacture:",     "Device Name:",    "Device Chemistry:", "Bar-code:",     "First Used Date:",
    "Design Capacity:", "Design Voltage:", "ManufactureDate:",  "Serial Number:"};

// "Serial Number:" twice: the system unit's serial comes first in the dump, the board's next.
inline constexpr std::array<const char*, 6> DmiKeys{
    "Version:", "Release Date:", "Product Name:", "Serial Number:", "Serial Number:", "Embedded Controller"};

// Preview pictures, indexed by the category buttons' tags; the last one is the start picture.
inline constexpr std::array<const char*, 11> ImageFiles{
    "/opt/lapstone/vc/bin/image/sysinfo.jpg",  "/opt/lapstone/vc/bin/image/nubstick.jpg",
    "/opt/lapstone/vc/bin/image/audio.jpg",    "/opt/lapstone/vc/bin/image/display.jpg",
    "/opt/lapstone/vc/bin/image/modem.jpg",    "/opt/lapstone/vc/bin/image/touchpad.jpg",
    "/opt/lapstone/vc/bin/image/network.jpg",  "/opt/lapstone/vc/bin/image/power.jpg",
    "/opt/lapstone/vc/bin/image/infrared.jpg", "/opt/lapstone/vc/bin/image/security.jpg",
    "/opt/lapstone/vc/bin/image/origin.jpg"};
inline constexpr int StartImageIndex = 10;

inline constexpr const char* Bat0StatePath = "/proc/H8/BAT0/state";
inline constexpr const char* Bat0InfoPath = "/proc/H8/BAT0/info";
inline constexpr const char* Bat1StatePath = "/proc/H8/BAT1/state";
inline constexpr const char* Bat1InfoPath = "/proc/H8/BAT1/info";
inline constexpr const char* StateCaptureFile = "/tmp/state";
inline constexpr const char* InfoCaptureFile = "/tmp/info";
inline constexpr const char* CommandCaptureFile = "/tmp/command";
inline constexpr const char* CopyBat0StateCommand = "cp /proc/H8/BAT0/state ";
inline constexpr const char* CopyBat0InfoCommand = "cp /proc/H8/BAT0/info ";
inline constexpr const char* CopyBat1StateCommand = "cp /proc/H8/BAT1/state ";
inline constexpr const char* CopyBat1InfoCommand = "cp /proc/H8/BAT1/info ";
inline constexpr const char* KpowersaveCaptureFile = "/tmp/kpowersave";
inline constexpr const char* PowerManagerScript = "/opt/lapstone/pm/pm.sh";
inline constexpr const char* AcScript = "/opt/lapstone/ac/ac.sh";
inline constexpr const char* MsgYastNotFound =
    "command yast is not found or no /sbin/yast2 file or directory";
inline constexpr const char* MsgEchoNotFound = "command echo is not found";
// The touchpad dialog words the same failure two ways: this text when it is shown, the next one
// from OK and Apply. Both are what users have always seen there.
inline constexpr const char* MsgSynclientNotFound = "command synclient not found";
inline constexpr const char* MsgSynclientIsNotFound = "command synclient is not found";
// The touchpad dialog's note after OK or Apply when the X server configuration does not keep the
// choice that synclient switched live: one of the two openings, then the reason.
inline constexpr const char* MsgTouchpadOffNotKept =
    "The touchpad is switched off until the X server restarts. The setting could not be kept: ";
inline constexpr const char* MsgTouchpadOnNotKept =
    "The touchpad is switched on until the X server restarts. The setting could not be kept: ";
inline constexpr const char* MsgXorgConfMissing = "there is no X server configuration /etc/X11/xorg.conf.";
inline constexpr const char* MsgXorgConfNeedsRoot =
    "changing the X server configuration /etc/X11/xorg.conf needs the program to run as root.";
inline constexpr const char* MsgXorgConfNoShmConfig =
    "/etc/X11/xorg.conf has no SHMConfig line to put the TouchpadOff option after.";
inline constexpr const char* MsgXorgConfEditFailed = "/etc/X11/xorg.conf could not be edited.";
inline constexpr const char* MsgKcmshellNotFound = "command kcmshell not found";
// The areas the desktops of today keep in their own settings tools, by the module of Plasma's
// kcmshell6/kcmshell5 and the panel of GNOME's gnome-control-center (as Debian 12 installs them).
struct DesktopSettings
{
    const char* plasmaModule;
    const char* gnomePanel;
    // GNOME's panel instead where the machine's only network adapters are wireless.
    const char* gnomeWirelessPanel = nullptr;
};
inline constexpr DesktopSettings AudioSettings{"kcm_pulseaudio", "sound"};
inline constexpr DesktopSettings DisplaySettings{"kcm_kscreen", "display"};
inline constexpr DesktopSettings ModemSettings{"kcm_networkmanagement", "wwan"};
inline constexpr DesktopSettings NetworkSettings{"kcm_networkmanagement", "network", "wifi"};
inline constexpr DesktopSettings PowerSettings{"kcm_powerdevilprofilesconfig", "power"};
inline constexpr DesktopSettings MouseSettings{"kcm_mouse", "mouse"};
inline constexpr DesktopSettings TouchpadSettings{"kcm_touchpad", "mouse"};
inline constexpr DesktopSettings UserSettings{"kcm_users", "user-accounts"};
inline constexpr DesktopSettings ScreenLockSettings{"kcm_screenlocker", "screen"};
// Infrared on a desktop of today, where YaST is not there to configure it.
inline constexpr const char* MsgNoInfrared =
    "This computer has no infrared tool: current Linux kernels no longer support infrared (IrDA) ports.";
// Neither firefox nor the desktop's default browser could show a help page.
inline constexpr const char* MsgHelpNotShown = "cannot open the help page ";
inline constexpr const char* MsgDmidecodeNotFound = "command dmidecode not found";
inline constexpr const char* MsgNubstickDriverMissing =
    "Nubstick driver does not exist. Maybe your Linux kernel version is too low";
inline constexpr const char* NubstickCaptureFile = "/tmp/nubstick";
inline constexpr const char* TouchpadCaptureFile = "/tmp/touchpad";
inline constexpr const char* MemCaptureFile = "/tmp/mem";
// The capture home removes each capture with "rm " and its path (machine/Capture.h).
static_assert(VcdProtocol::Check::Joins("rm /tmp/mem", "rm ", MemCaptureFile));
inline constexpr const char* KpowersavercScratchFile = "/tmp/kpowersaverc";
inline constexpr const char* XorgConfigScratchFile = "/tmp/xorgconfig";
// GNOME's colour scheme ("'prefer-dark'" asks for dark colours), read once at start.
inline constexpr const char* ColorSchemeCaptureFile = "/tmp/colorscheme";
inline constexpr const char* ReadGnomeColorScheme =
    "gsettings get org.gnome.desktop.interface color-scheme >";

// What a value shows that could not be read: never a guess, never a blank.
inline constexpr const char* UnknownText = "Unknown";

// Said by the security dialogs where a lock's state could not be read.
inline constexpr const char* MsgScreenSaverLockUnknown =
    "Whether the screen saver locks the screen is unknown";
inline constexpr const char* MsgResumeLockUnknown =
    "Whether the screen is locked before suspend is unknown on this desktop";

// Today's desktops keep what the program reads elsewhere; these are the places and the lines that
// ask for them, used where the old sources above are missing.
inline constexpr const char* ReadIssueIntoCapture = "grep Linux /etc/issue > /tmp/dmidecode";
inline constexpr const char* IssueWelcome = "Welcome to ";
inline constexpr std::array<const char*, 2> OsReleaseFiles{"/etc/os-release", "/usr/lib/os-release"};
inline constexpr const char* ReadProcessorIntoCapture = "grep \"model name\" /proc/cpuinfo > /tmp/dmidecode";
inline constexpr const char* PowerSupplyFolder = "/sys/class/power_supply";
inline constexpr const char* InputClassFolder = "/sys/class/input";
inline constexpr const char* NetClassFolder = "/sys/class/net";
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
inline constexpr const char* GnomeLockEnabled =
    "gsettings get org.gnome.desktop.screensaver lock-enabled 2>/dev/null > ";
// Plasma's screen locker: kreadconfig5 or kreadconfig6, then the key, its default and the capture.
inline constexpr const char* PlasmaAutolockQuery =
    " --file kscreenlockerrc --group Daemon --key Autolock --default true";
inline constexpr const char* PlasmaLockOnResumeQuery =
    " --file kscreenlockerrc --group Daemon --key LockOnResume --default true";
inline constexpr const char* KdesktoprcPath = "/.kde/share/config/kdesktoprc";

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
inline constexpr const char* KcminputrcEnabled = " --key Enabled --type bool ";
inline constexpr const char* GnomeTouchpadSendEventsSet =
    "gsettings set org.gnome.desktop.peripherals.touchpad send-events ";
// The resume lock today's way: Plasma's screen locker key, which the locker is then told to read;
// GNOME's lock-enabled, which also decides whether the screen is locked before suspend.
inline constexpr const char* PlasmaLockOnResumeSet =
    " --file kscreenlockerrc --group Daemon --key LockOnResume --type bool ";
inline constexpr const char* ScreenLockerConfigure =
    "gdbus call --session --dest org.freedesktop.ScreenSaver --object-path /ScreenSaver --method "
    "org.kde.screensaver.configure >/dev/null";
inline constexpr const char* GnomeLockEnabledSet =
    "gsettings set org.gnome.desktop.screensaver lock-enabled ";
// The old power manager's folder, made when it is missing so that the configuration can be written.
inline constexpr const char* MakeKdeConfigFolder = "mkdir -p $HOME/.kde/share/config";

// What the device dialogs and the resume dialog say when today's way cannot do what was chosen.
// The device dialogs put the device's name and the state into the texts: "the touchpad", "off".
inline constexpr const char* TouchpadName = "touchpad";
inline constexpr const char* PointingStickName = "pointing stick";
inline constexpr const char* MsgDeviceNotSwitched =
    "The %1 could not be switched %2: the desktop did not take the change.";
inline constexpr const char* MsgNoSuchDevice = "This computer has no %1.";
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
inline constexpr const char* MsgNoKwriteconfig = "neither kwriteconfig5 nor kwriteconfig6 is installed.";
inline constexpr const char* MsgResumeLockNotSaved = "The setting could not be saved: ";
inline constexpr const char* MsgKscreenlockerrcNotWritten = "kscreenlockerrc could not be written.";
inline constexpr const char* MsgGnomeLockNotChanged = "GNOME's settings did not take the change.";
inline constexpr const char* MsgKpowersavercNotWritten = " could not be written.";
inline constexpr const char* MsgScreenLockerNotTold =
    "The setting is saved, but the screen locker could not be asked to use it now: it applies from "
    "the next login.";
inline constexpr const char* KpowersavercPathInHome = "/.kde/share/config/kpowersaverc";

// Not part of the table above: the daemon's socket and the files its commands name, shared with the
// daemon through its protocol header.
inline constexpr const char* DaemonSocketPath = VcdProtocol::SocketPath;
inline constexpr const char* StoredDmiFile = VcdProtocol::StoredDmiFile;
inline constexpr const char* DmidecodeCaptureFile = VcdProtocol::DmidecodeCaptureFile;
inline constexpr const char* PointingStickRateFile = VcdProtocol::PointingStickRate;
inline constexpr const char* ReadRateIntoCapture = "cat /sys/devices/platform/i8042/serio0/serio2/rate > ";
static_assert(VcdProtocol::Check::Joins(ReadRateIntoCapture, "cat ", PointingStickRateFile, " > "));

inline constexpr const char* MsgDaemonNotStarted =
    "The daemon isn't started, maybe the non-root users can't view some infomation of the "
    "LapstoneConfiguration";
inline constexpr const char* MsgNoBatteryOrBatinfo =
    "Module batinfo is needed or there is no battery in the computer";
inline constexpr const char* MsgBatinfoNeeded = "Module batinfo is needed";
inline constexpr const char* MsgNoBiosInformation = "can't get the BIOS information";
inline constexpr const char* MsgNotVeltor = "the device you are using is not from VELTOR";

// Follows the path of a fixed /tmp name that another user holds, when the step that writes it
// could not run.
inline constexpr const char* MsgInTheWay = " is in the way";

// The dialogs' help pages: the installed page, and the line that opens it in a browser window of
// the help's size.
struct HelpPage
{
    const char* path;
    const char* command;
};
inline constexpr HelpPage HelpSysInfo{
    "/opt/lapstone/vc/help/html/QRVSI.HTM",
    "firefox -width 800 -height 600 /opt/lapstone/vc/help/html/QRVSI.HTM &"};
inline constexpr HelpPage HelpNubstick{
    "/opt/lapstone/vc/help/html/QRVNubstick.HTM",
    "firefox -width 800 -height 600 /opt/lapstone/vc/help/html/QRVNubstick.HTM &"};
inline constexpr HelpPage HelpTouchPad{
    "/opt/lapstone/vc/help/html/QRVTouchPad.HTM",
    "firefox -width 800 -height 600 /opt/lapstone/vc/help/html/QRVTouchPad.HTM &"};
inline constexpr HelpPage HelpSecurity{
    "/opt/lapstone/vc/help/html/QRVSecI.HTM",
    "firefox -width 800 -height 600 /opt/lapstone/vc/help/html/QRVSecI.HTM &"};
// The pages' index, which F1 in the main window opens.
inline constexpr HelpPage HelpIndex{"/opt/lapstone/vc/help/html/INDEX.HTM",
                                    "firefox -width 800 -height 600 /opt/lapstone/vc/help/html/INDEX.HTM &"};
static_assert(VcdProtocol::Check::Joins(HelpIndex.command, "firefox -width 800 -height 600 ", HelpIndex.path,
                                        " &"));
static_assert(VcdProtocol::Check::Joins(HelpSysInfo.command, "firefox -width 800 -height 600 ",
                                        HelpSysInfo.path, " &"));
static_assert(VcdProtocol::Check::Joins(HelpNubstick.command, "firefox -width 800 -height 600 ",
                                        HelpNubstick.path, " &"));
static_assert(VcdProtocol::Check::Joins(HelpTouchPad.command, "firefox -width 800 -height 600 ",
                                        HelpTouchPad.path, " &"));
static_assert(VcdProtocol::Check::Joins(HelpSecurity.command, "firefox -width 800 -height 600 ",
                                        HelpSecurity.path, " &"));

} // namespace Ucomtc
