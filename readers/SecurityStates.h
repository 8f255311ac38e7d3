// How the security dialogs read what protects the notebook, for the dialogs and for the system
// report alike, so that the two cannot disagree.
#pragma once

#include "machine/Message.h"

#include <QString>
#include <array>
#include <optional>

namespace Ucomtc {

// What a BIOS password label shows before its query has ever been answered.
inline constexpr const char* UnknownState = "Unknown";

// Whether the screen saver asks for a password: the first line of the user's kdesktoprc that
// mentions Lock contains "Lock=true".
Reading<bool> ReadScreenSaverLock();

// The user's kpowersave configuration: HOME followed by its place under .kde; HOME unset gives a
// path from the root, as the shell would.
QString KpowersavercPath();
// Whether the screen is locked before suspend: no kpowersave configuration, or none of its lines
// mentioning lockOnSuspend=false starts with the key.
Reading<bool> ReadResumeLock();

enum class BiosPassword
{
    PowerOn,
    Administrator,
    HardDisk,
};

// The three states, indexed by BiosPassword, as the dialog shows them.
using BiosPasswordStates = std::array<std::optional<QString>, 3>;

// Runs the three BIOS password queries in the dialog's order. A query the daemon did not run gives
// no state; without dmidecode no query runs.
Reading<BiosPasswordStates> ReadBiosPasswords();

} // namespace Ucomtc
