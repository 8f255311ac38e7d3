// How the security dialogs read what protects the notebook, for the dialogs and for the system
// report alike, so that the two cannot disagree.
#pragma once

#include <QString>
#include <functional>

namespace Ucomtc {

// What a BIOS password label shows before its query has ever been answered.
inline constexpr const char* UnknownState = "Unknown";

// Whether the screen saver asks for a password: the first line of the user's kdesktoprc that
// mentions Lock contains "Lock=true".
bool ReadScreenSaverLock();

// The user's kpowersave configuration: HOME followed by its place under .kde; HOME unset gives a
// path from the root, as the shell would.
QString KpowersavercPath();
// Whether the screen is locked before suspend: no kpowersave configuration, or none of its lines
// mentioning lockOnSuspend=false starts with the key.
bool ReadResumeLock();

enum class BiosPassword
{
    PowerOn,
    Administrator,
    HardDisk,
};

// Runs the three BIOS password queries in the dialog's order and hands over each state that was
// read, as the dialog shows it, at once. A query the daemon did not run gives nothing; without
// dmidecode no query runs. The dialog's messages are shown on the way. False when dmidecode is
// missing.
bool ReadBiosPasswords(const std::function<void(BiosPassword which, const QString& state)>& found);

} // namespace Ucomtc
