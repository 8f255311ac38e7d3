// Which desktop the person works in, as the session names it: the one place that looks at
// XDG_CURRENT_DESKTOP, XDG_SESSION_TYPE and KDE_SESSION_VERSION.
#pragma once

#include "machine/Run.h"

namespace Ucomtc {

enum class Desktop
{
    Plasma, // XDG_CURRENT_DESKTOP names KDE
    Gnome,  // XDG_CURRENT_DESKTOP names GNOME
    Other,  // neither, or no such variable
};

Desktop CurrentDesktop();
// Whether the session runs on an X server (XDG_SESSION_TYPE=x11).
bool X11Session();
// The Plasma session's major version (KDE_SESSION_VERSION: 5, 6); 0 where the session does not say.
int PlasmaSessionVersion();

// The desktop's tools read the user's settings and session: their lines run as the home's owner.
inline constexpr Way AsTheUser{RunWith::System, As::HomeOwner};

// kwriteconfig waits for ever on a lock it cannot take where the settings folder cannot be written:
// its lines are cut off after this, and the setting read back tells what became of it.
inline constexpr const char* KdeConfigWriteLimit = "timeout 10 ";
// Said where Plasma's settings are to be written and neither of its writing tools is there.
inline constexpr const char* MsgNoKwriteconfig = "neither kwriteconfig5 nor kwriteconfig6 is installed.";

} // namespace Ucomtc
