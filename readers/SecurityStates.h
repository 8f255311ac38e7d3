// How the security dialogs read what protects the notebook, for the dialogs and for the system
// report alike, so that the two cannot disagree.
#pragma once

#include "machine/Message.h"
#include "services/Constants.h"

#include <QString>
#include <array>
#include <optional>

namespace Ucomtc {

// What a BIOS password label shows before its query has ever been answered.
inline constexpr const char* UnknownState = UnknownText;

// Whether the locks are the KDE 3 desktop's: the user's home has its kdesktoprc or its kpowersaverc,
// or its dcop is installed. Where none is there, the locks are read from today's desktop.
bool Kde3Desktop(Messages& messages);

// Whether the screen saver asks for a password: the first line of the user's kdesktoprc that
// mentions Lock contains "Lock=true". Without the KDE 3 configuration: Plasma's Autolock, GNOME's
// lock-enabled; no state on any other desktop.
Reading<std::optional<bool>> ReadScreenSaverLock();

// The user's kpowersave configuration: HOME followed by its place under .kde; HOME unset gives a
// path from the root, as the shell would.
QString KpowersavercPath();
// Whether the screen is locked before suspend: no kpowersave configuration, or none of its lines
// mentioning lockOnSuspend=false starts with the key. Without the KDE 3 configuration: Plasma's
// LockOnResume, GNOME's lock-enabled (GNOME locks before suspend exactly when it locks at all); no
// state on any other desktop.
Reading<std::optional<bool>> ReadResumeLock();
// The same with the desktop already told (Kde3Desktop).
Reading<std::optional<bool>> ReadResumeLock(bool kde3Desktop);
// The same from today's desktop alone: Plasma's LockOnResume, GNOME's lock-enabled.
std::optional<bool> TodaysResumeLock(Messages& messages);

enum class BiosPassword
{
    PowerOn,
    Administrator,
    HardDisk,
};

// The three states, indexed by BiosPassword, as the dialog shows them.
using BiosPasswordStates = std::array<std::optional<QString>, 3>;

// Runs the three BIOS password queries in the dialog's order. A query the daemon did not run gives
// no state; without dmidecode no query runs. A query that printed nothing reads "Unknown".
Reading<BiosPasswordStates> ReadBiosPasswords();

} // namespace Ucomtc
