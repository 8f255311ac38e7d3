// Starting the outside tools the dialogs hand over to: the yast2 modules, the desktop's own settings
// tools and the help pages.
#pragma once

#include "readers/Desktop.h"
#include "services/Constants.h"

#include <QString>

namespace Ucomtc {

// Whether a yast2 module can be started: whereis knows yast2 and /sbin/yast2 exists (looked at only
// once whereis has found it).
bool Yast2Installed();

// Starts the desktop's settings tool on `settings` without waiting for it: "kcmshell6 MODULE &"
// (else kcmshell5) under Plasma, "gnome-control-center PANEL &" under GNOME (its wireless panel
// where that is given and the only network adapters are wireless). False, with nothing
// run, when the desktop is another or its tool is not installed.
bool HandOverToDesktop(const DesktopSettings& settings);

// The yast2 module's line when yast2 is installed, else the desktop's settings tool, else the
// error that yast2 is missing.
void StartYast2ModuleOrDesktop(const QString& yast2Command, const DesktopSettings& settings,
                               bool runShell = false);

// Opens a dialog's help page in a firefox window of the help's size, without waiting for it; where
// firefox is not installed, with the desktop's default browser, and reports when that fails too.
void ShowHelpPage(const HelpPage& page);

} // namespace Ucomtc
