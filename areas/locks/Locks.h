// The screen locks: whether the screen saver asks for a password, and whether the screen is locked
// before suspend, read, changed and kept where the desktop keeps them. The security dialogs and the
// system report only present what this area reads and says.
//
// The keepers, chosen in one place for reading and writing alike: the KDE 3 desktop (its kdesktoprc
// and the power manager's kpowersaverc, told with dcop) where its files or dcop are there; else
// today's desktop: Plasma's screen locker (kscreenlockerrc, read with kreadconfig, written with
// kwriteconfig, then the locker is told), GNOME's screen lock (lock-enabled, which also decides
// whether the screen is locked before suspend); none on any other desktop.
#pragma once

#include "machine/Message.h"

#include <QString>
#include <optional>

namespace Ucomtc {

enum class LockKeeper
{
    Kde3,
    Plasma,
    Gnome,
    None,
};

// A lock's state and who keeps it. GNOME keeps one lock for both, lock-enabled, which its lockdown
// setting disable-lock-screen overrides: then the screen is never locked, whatever the lock says,
// and changing it would change nothing.
struct LockState
{
    // Nothing where it could not be read (and then it cannot be changed).
    std::optional<bool> locked;
    LockKeeper keeper = LockKeeper::None;
    bool lockedDown = false;
};

class Locks
{
public:
    virtual ~Locks() = default;

    // Whether the screen saver asks for a password, and who keeps that: the first line of the user's
    // kdesktoprc that mentions Lock contains "Lock=true"; Plasma's Autolock, GNOME's lock-enabled.
    virtual Reading<LockState> ScreenSaverLock() = 0;
    // Whether the screen is locked before suspend, and who keeps it: no kpowersave configuration,
    // or none of its lines mentioning lockOnSuspend=false starts with the key; Plasma's
    // LockOnResume, GNOME's lock-enabled.
    virtual Reading<LockState> ReadResumeLock() = 0;
    // Writes the lock where `keeper` (as the last reading found it) keeps it, and has the desktop
    // take it. Not made, with an error, when the setting could not be saved.
    virtual Change WriteResumeLock(LockKeeper keeper, bool lock) = 0;
};

class MachineLocks final : public Locks
{
public:
    Reading<LockState> ScreenSaverLock() override;
    Reading<LockState> ReadResumeLock() override;
    Change WriteResumeLock(LockKeeper keeper, bool lock) override;
};

// The user's kpowersave configuration: HOME followed by its place under .kde; HOME unset gives a
// path from the root, as the shell would.
QString KpowersavercPath();

} // namespace Ucomtc
