// The locks' paths, command lines and texts: the KDE 3 desktop's files and power manager, Plasma's
// screen locker and GNOME's screen lock.
#pragma once

namespace Ucomtc {

// Said by the security dialogs where a lock's state could not be read.
inline constexpr const char* MsgScreenSaverLockUnknown =
    "Whether the screen saver locks the screen is unknown";
inline constexpr const char* MsgResumeLockUnknown =
    "Whether the screen is locked before suspend is unknown on this desktop";

// GNOME's lockdown over it: "true" keeps the screen from being locked at all.
inline constexpr const char* GnomeLockDown =
    "gsettings get org.gnome.desktop.lockdown disable-lock-screen 2>/dev/null > ";
inline constexpr const char* MsgGnomeLockedDown =
    "GNOME's lockdown setting disable-lock-screen keeps the screen from being locked.";
inline constexpr const char* GnomeLockEnabled =
    "gsettings get org.gnome.desktop.screensaver lock-enabled 2>/dev/null > ";
// Plasma's screen locker: kreadconfig5 or kreadconfig6, then the key, its default and the capture.
inline constexpr const char* PlasmaAutolockQuery =
    " --file kscreenlockerrc --group Daemon --key Autolock --default true";
inline constexpr const char* PlasmaLockOnResumeQuery =
    " --file kscreenlockerrc --group Daemon --key LockOnResume --default true";
inline constexpr const char* KdesktoprcPath = "/.kde/share/config/kdesktoprc";

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

inline constexpr const char* MsgResumeLockNotSaved = "The setting could not be saved: ";
inline constexpr const char* MsgKscreenlockerrcNotWritten = "kscreenlockerrc could not be written.";
inline constexpr const char* MsgGnomeLockNotChanged = "GNOME's settings did not take the change.";
inline constexpr const char* MsgKpowersavercNotWritten = " could not be written.";
inline constexpr const char* MsgScreenLockerNotTold =
    "The setting is saved, but the screen locker could not be asked to use it now: it applies from "
    "the next login.";
inline constexpr const char* KpowersavercPathInHome = "/.kde/share/config/kpowersaverc";

} // namespace Ucomtc
