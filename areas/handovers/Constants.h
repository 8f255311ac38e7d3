// The hand-overs to outside tools: the notebook's add-on scripts, the YaST2 modules, the desktop's
// settings tools by area, and the help pages.
#pragma once

#include "protocol/DaemonProtocol.h"

namespace Ucomtc {

inline constexpr const char* PowerManagerScript = "/opt/lapstone/pm/pm.sh";
inline constexpr const char* AcScript = "/opt/lapstone/ac/ac.sh";
inline constexpr const char* MsgYastNotFound =
    "command yast is not found or no /sbin/yast2 file or directory";
inline constexpr const char* MsgKcmshellNotFound = "command kcmshell not found";
// The areas the desktops of today keep in their own settings tools: the control module that
// Plasma's kcmshell6, kcmshell5 or systemsettings opens (the same ids in Plasma 5.27 and 6.3), and
// the panel of GNOME's gnome-control-center.
struct DesktopSettings
{
    const char* plasmaModule;
    // "PANEL", or "PANEL PAGE" for a page of one of GNOME 48's hub panels.
    const char* gnomePanel;
    // GNOME 43's panel, taken where the installed gnome-control-center lists no panel of the first.
    const char* olderGnomePanel = nullptr;
    // GNOME's panel instead where the machine's only network adapters are wireless.
    const char* gnomeWirelessPanel = nullptr;
    // GNOME offers the panel only while ModemManager runs.
    bool needsModemManager = false;
};
inline constexpr DesktopSettings AudioSettings{.plasmaModule = "kcm_pulseaudio", .gnomePanel = "sound"};
inline constexpr DesktopSettings DisplaySettings{.plasmaModule = "kcm_kscreen", .gnomePanel = "display"};
inline constexpr DesktopSettings ModemSettings{
    .plasmaModule = "kcm_networkmanagement", .gnomePanel = "wwan", .needsModemManager = true};
inline constexpr DesktopSettings NetworkSettings{
    .plasmaModule = "kcm_networkmanagement", .gnomePanel = "network", .gnomeWirelessPanel = "wifi"};
inline constexpr DesktopSettings PowerSettings{.plasmaModule = "kcm_powerdevilprofilesconfig",
                                               .gnomePanel = "power"};
inline constexpr DesktopSettings MouseSettings{.plasmaModule = "kcm_mouse", .gnomePanel = "mouse"};
inline constexpr DesktopSettings TouchpadSettings{.plasmaModule = "kcm_touchpad", .gnomePanel = "mouse"};
inline constexpr DesktopSettings UserSettings{
    .plasmaModule = "kcm_users", .gnomePanel = "system users", .olderGnomePanel = "user-accounts"};
inline constexpr DesktopSettings ScreenLockSettings{
    .plasmaModule = "kcm_screenlocker", .gnomePanel = "privacy screenlock", .olderGnomePanel = "screen"};

// Plasma's tool for a control module: the kcmshell of the session's Plasma (kcmshell5 cannot load
// Plasma 6's modules, though Debian 13 still has it), else systemsettings; what is said without
// either names their Debian packages (Plasma 6's where the session does not say).
struct PlasmaSettingsTools
{
    const char* kcmshell;
    const char* missing;
};
inline constexpr PlasmaSettingsTools Plasma6SettingsTools{
    "kcmshell6", "Plasma's settings open in kcmshell6 or systemsettings, and neither is installed "
                 "(Debian packages libkf6kcmutils-bin and systemsettings)."};
inline constexpr PlasmaSettingsTools Plasma5SettingsTools{
    "kcmshell5", "Plasma's settings open in kcmshell5 or systemsettings, and neither is installed "
                 "(Debian packages kde-cli-tools and systemsettings)."};
inline constexpr const char* MsgNoGnomeControlCenter =
    "GNOME's settings open in gnome-control-center, which is not installed (Debian package "
    "gnome-control-center).";
// The panels the installed gnome-control-center has: the tab-indented names of its --list, on
// one line.
inline constexpr const char* GnomePanelList =
    "gnome-control-center --list 2>/dev/null | sed -n 's/^\\t//p' | tr '\\n' ' ' > ";
// Whether ModemManager runs: "(true,)" or "(false,)" from the system bus.
inline constexpr const char* ModemManagerOwnerQuery =
    "gdbus call --system --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus --method "
    "org.freedesktop.DBus.NameHasOwner org.freedesktop.ModemManager1 2>/dev/null > ";
inline constexpr const char* MsgNoModemManager =
    "GNOME has no mobile broadband settings to show: they need ModemManager, which is not running "
    "(Debian package modemmanager).";
// What each setting hands over to, tried in this order: the notebook's add-on script ("SCRIPT start",
// waited for) where it is installed; the old desktop's tool (a YaST2 module through kdesu where
// yast2 is installed, run by a child that asks for root first where `asksForRoot`; a KDE control
// module where kcmshell is); the desktop of today's settings tool, else what that desktop lacks; on
// another desktop the old tool's missing message. Infrared has no settings tool today: its desktops
// are told so.
enum class Setting
{
    Audio,
    Modem,
    Display,
    PowerManager,
    NetworkAdapter,
    Infrared,
    Mouse,         // the Nubstick dialog's Mouse Properties
    TouchpadMouse, // the touchpad dialog's
    Users,
    ScreenSaver,
};

enum class OldTool
{
    Yast2,
    Kcmshell,
};

struct HandOverWay
{
    Setting setting;
    const char* addOnScript;
    const char* oldLine;
    OldTool oldTool;
    bool asksForRoot;
    const DesktopSettings* desktop;
};

inline constexpr HandOverWay HandOverWays[] = {
    {Setting::Audio, nullptr, "kdesu -c /sbin/yast2 sound &", OldTool::Yast2, false, &AudioSettings},
    {Setting::Modem, nullptr, "kdesu -c /sbin/yast2 modem &", OldTool::Yast2, false, &ModemSettings},
    {Setting::Display, nullptr, "kcmshell --caption Desktop kde-display > /dev/null&", OldTool::Kcmshell,
     false, &DisplaySettings},
    {Setting::PowerManager, PowerManagerScript, "kdesu -c /sbin/yast2 power-management &", OldTool::Yast2,
     false, &PowerSettings},
    {Setting::NetworkAdapter, AcScript, "kdesu -c /sbin/yast2 lan &", OldTool::Yast2, false,
     &NetworkSettings},
    {Setting::Infrared, nullptr, "kdesu -c /sbin/yast2 irda &", OldTool::Yast2, false, nullptr},
    {Setting::Mouse, nullptr, "kdesu -c /sbin/yast2 mouse &", OldTool::Yast2, true, &MouseSettings},
    {Setting::TouchpadMouse, nullptr, "kdesu -c /sbin/yast2 mouse &", OldTool::Yast2, true,
     &TouchpadSettings},
    {Setting::Users, nullptr, "kdesu -c /sbin/yast2 users &", OldTool::Yast2, false, &UserSettings},
    {Setting::ScreenSaver, nullptr, "kcmshell screensaver &", OldTool::Kcmshell, false, &ScreenLockSettings},
};

// Infrared on a desktop of today, where YaST is not there to configure it.
inline constexpr const char* MsgNoInfrared =
    "This computer has no infrared tool: current Linux kernels no longer support infrared (IrDA) ports.";
// Neither firefox nor the desktop's default browser could show a help page.
inline constexpr const char* MsgHelpNotShown = "cannot open the help page ";
inline constexpr const char* NetClassFolder = "/sys/class/net";

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
