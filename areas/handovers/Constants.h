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
// What each setting hands over to, tried in this order: the notebook's add-on script ("SCRIPT start",
// waited for) where it is installed; the old desktop's tool (a YaST2 module through kdesu where
// yast2 is installed, run by a child that asks for root first where `asksForRoot`; a KDE control
// module where kcmshell is); the desktop of today's settings tool; else the old tool's missing
// message. Infrared has no settings tool today: its desktops are told so.
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
