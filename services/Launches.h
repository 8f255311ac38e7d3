// Starting the outside tools the dialogs hand over to: the yast2 modules and the help pages.
#pragma once

#include "services/Constants.h"

namespace Ucomtc {

// Whether a yast2 module can be started: whereis knows yast2 and /sbin/yast2 exists (looked at only
// once whereis has found it). Shows the error and answers false otherwise.
bool Yast2Available();

// Opens a dialog's help page in a firefox window of the help's size, without waiting for it; where
// firefox is not installed, with the desktop's default browser, and reports when that fails too.
void ShowHelpPage(const HelpPage& page);

} // namespace Ucomtc
