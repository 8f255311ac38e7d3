#include "areas/locks/Locks.h"

#include "areas/locks/Constants.h"
#include "machine/Capture.h"
#include "machine/Constants.h"
#include "machine/Desktop.h"
#include "machine/IoError.h"
#include "machine/ShellWord.h"

#include <algorithm>

namespace Ucomtc {

namespace {

// The configuration is the user's: its lines run as the home's owner.
constexpr Way Home{RunWith::System, As::HomeOwner};

std::optional<bool> TrueOrFalse(const QString& answer)
{
    if (answer.trimmed() == QLatin1String("true"))
        return true;
    if (answer.trimmed() == QLatin1String("false"))
        return false;
    return std::nullopt;
}

QString TrueOrFalseWord(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

bool RunAsTheUser(const QString& command)
{
    return Succeeded(RunCommandStatus(AsTheUser, command));
}

// Whether the locks are the KDE 3 desktop's: the user's home has its kdesktoprc or its kpowersaverc,
// or its dcop is installed. Where none is there, the locks are read from today's desktop.
bool Kde3Desktop(Messages& messages)
{
    Host& host = Host::current();
    return host.FileExists(host.GetEnv("HOME").value_or(QString()) + QLatin1String(KdesktoprcPath)) ||
           host.FileExists(KpowersavercPath()) || CommandExists(QStringLiteral("dcop"), messages);
}

LockKeeper TodaysKeeper()
{
    switch (CurrentDesktop()) {
    case Desktop::Plasma:
        return LockKeeper::Plasma;
    case Desktop::Gnome:
        return LockKeeper::Gnome;
    case Desktop::Other:
        break;
    }
    return LockKeeper::None;
}

// A lock as today's desktop keeps it: Plasma's screen locker key through kreadconfig (5, else 6),
// GNOME's lock-enabled through gsettings, and its lockdown setting over it.
LockState TodaysLock(const char* plasmaQuery, const char* captureFile, Messages& messages)
{
    const QString capture = QString::fromLatin1(captureFile);
    const QString into = QStringLiteral(" 2>/dev/null > ") + capture;
    LockState state{std::nullopt, TodaysKeeper()};
    switch (state.keeper) {
    case LockKeeper::Plasma: {
        const QString tool = FirstInstalled({"kreadconfig5", "kreadconfig6"}, messages);
        if (!tool.isEmpty())
            state.locked = TrueOrFalse(CaptureFirstLine(AsTheUser, tool + QLatin1String(plasmaQuery) + into,
                                                        capture, AsTheUser, messages));
        break;
    }
    case LockKeeper::Gnome:
        state.locked = TrueOrFalse(CaptureFirstLine(AsTheUser, QLatin1String(GnomeLockEnabled) + capture,
                                                    capture, AsTheUser, messages));
        if (state.locked.has_value() &&
            TrueOrFalse(CaptureFirstLine(AsTheUser, QLatin1String(GnomeLockDown) + capture, capture,
                                         AsTheUser, messages)) == true)
            state = {false, LockKeeper::Gnome, true};
        break;
    case LockKeeper::Kde3:
    case LockKeeper::None:
        break;
    }
    return state;
}

LockState TodaysResumeLock(Messages& messages)
{
    return TodaysLock(PlasmaLockOnResumeQuery, KpowersaveCaptureFile, messages);
}

QString ScratchFile()
{
    return QString::fromLatin1(KpowersavercScratchFile);
}

QString CaptureFile()
{
    return QString::fromLatin1(KpowersaveCaptureFile);
}

// The configuration's lines, or nothing when it cannot be read: sed cannot read it either, and its
// failed edit leaves the file alone. Root may be looking into a user's home here: only a regular
// file of the home's owner (or root) counts, read without following a link or waiting on a FIFO.
std::optional<QStringList> ConfigurationLines(const QString& path)
{
    try {
        return ReadCaptureLines(path, Home);
    } catch (const IoError&) {
        return std::nullopt;
    }
}

// Turns the lock off in an existing configuration; `mentioned` tells whether grep found the key.
// False when the file could not be rewritten.
bool WriteLockOff(const QString& path, bool mentioned, Messages& messages)
{
    // The key is changed in place only where a line starts with it; a file that merely mentions it
    // (a comment) gets the key added like one without it, or the choice would be lost. An unreadable
    // file is left to sed, whose failed edit keeps it as it was.
    const auto lines = ConfigurationLines(path);
    const bool keyLine =
        lines ? std::any_of(lines->cbegin(), lines->cend(),
                            [](const QString& l) { return l.startsWith(QLatin1String("lockOnSuspend")); })
              : mentioned;
    if (keyLine)
        return EditFileWithSed(QStringLiteral("sed /^lockOnSuspend/c\\lockOnSuspend=false"), ShellWord(path),
                               ScratchFile(), Home, messages);
    if (!lines || !lines->filter(QLatin1String("General")).isEmpty())
        return EditFileWithSed(QStringLiteral("sed /General/a\\lockOnSuspend=false"), ShellWord(path),
                               ScratchFile(), Home, messages);
    if (lines->isEmpty()) {
        // Without a group line there is nothing to add the key after: the group and the key go at
        // the end of the file. sed appends nothing to an empty file, echo does.
        const QString file = ShellWord(path);
        const bool group = Succeeded(RunCommandStatus(Home, QStringLiteral("echo \"[General]\" >> ") + file));
        return Succeeded(RunCommandStatus(Home, QStringLiteral("echo lockOnSuspend=false >> ") + file)) &&
               group;
    }
    return EditFileWithSed(QStringLiteral("sed -e '$a\\[General]' -e '$a\\lockOnSuspend=false'"),
                           ShellWord(path), ScratchFile(), Home, messages);
}

bool SaveLockOff(const QString& path, Messages& messages)
{
    // The edits run while the capture file still exists; it is removed after them.
    bool saved = false;
    WithCaptureFirstLine(
        Home,
        QStringLiteral("cat ") + ShellWord(path) + QStringLiteral(" | grep lockOnSuspend > ") + CaptureFile(),
        CaptureFile(), RunWith::System,
        [&](const QString& firstLine) { saved = WriteLockOff(path, !firstLine.isEmpty(), messages); },
        messages);
    return saved;
}

// The lines that start a configuration: the group, AlreadyStarted, and the key when clear. The
// shell expands $HOME.
void AppendConfiguration(bool lock, Messages& messages)
{
    RunCommand(Home,
               WithShellHome(QStringLiteral("echo \"[General]\" >> $HOME/.kde/share/config/kpowersaverc")),
               messages);
    RunCommand(
        Home,
        WithShellHome(QStringLiteral("echo AlreadyStarted=true >> $HOME/.kde/share/config/kpowersaverc")),
        messages);
    if (!lock)
        RunCommand(
            Home,
            WithShellHome(QStringLiteral("echo lockOnSuspend=false >> $HOME/.kde/share/config/kpowersaverc")),
            messages);
}

bool CreateConfiguration(const QString& path, bool lock, Messages& messages)
{
    Host& host = Host::current();
    AppendConfiguration(lock, messages);
    if (host.FileExists(path))
        return true;
    // The lines write nothing without the folder: it is made, and they run again.
    RunCommand(Home, WithShellHome(QString::fromLatin1(MakeKdeConfigFolder)), messages);
    AppendConfiguration(lock, messages);
    return host.FileExists(path);
}

Change WriteKde3ResumeLock(bool lock)
{
    Change change;
    const QString path = KpowersavercPath();
    bool saved = false;
    if (!Host::current().FileExists(path))
        saved = CreateConfiguration(path, lock, change.messages);
    else if (lock)
        saved = EditFileWithSed(QStringLiteral("sed '/^lockOnSuspend=false/ d'"), ShellWord(path),
                                ScratchFile(), Home, change.messages);
    else
        saved = SaveLockOff(path, change.messages);
    // A setting that was not written is said so, and it may be tried again.
    if (!saved) {
        change.messages.append({MessageKind::Error, QString::fromLatin1(MsgResumeLockNotSaved) + path +
                                                        QString::fromLatin1(MsgKpowersavercNotWritten)});
        change.made = false;
        return change;
    }
    RunCommand(Home, QStringLiteral("dcop kpowersave MainApplication-Interface reparseConfiguration"),
               change.messages);
    return change;
}

Change WriteTodaysResumeLock(LockKeeper keeper, bool lock)
{
    Change change;
    QString why;
    if (keeper == LockKeeper::Plasma) {
        const QString tool = FirstInstalled({"kwriteconfig5", "kwriteconfig6"}, change.messages);
        if (tool.isEmpty())
            why = QString::fromLatin1(MsgNoKwriteconfig);
        else
            RunAsTheUser(QLatin1String(KdeConfigWriteLimit) + tool +
                         QString::fromLatin1(PlasmaLockOnResumeSet) + TrueOrFalseWord(lock));
    } else {
        RunAsTheUser(QString::fromLatin1(GnomeLockEnabledSet) + TrueOrFalseWord(lock));
    }
    // The tools' statuses do not tell; what the desktop reads afterwards does.
    Messages unread;
    if (why.isEmpty() && TodaysResumeLock(unread).locked != lock)
        why = QString::fromLatin1(keeper == LockKeeper::Plasma ? MsgKscreenlockerrcNotWritten
                                                               : MsgGnomeLockNotChanged);
    if (!why.isEmpty()) {
        change.messages.append({MessageKind::Error, QString::fromLatin1(MsgResumeLockNotSaved) + why});
        change.made = false;
        return change;
    }
    if (keeper == LockKeeper::Plasma && !RunAsTheUser(QString::fromLatin1(ScreenLockerConfigure)))
        change.messages.append({MessageKind::Plain, QString::fromLatin1(MsgScreenLockerNotTold)});
    return change;
}

} // namespace

QString KpowersavercPath()
{
    return Host::current().GetEnv("HOME").value_or(QString()) + QLatin1String(KpowersavercPathInHome);
}

Reading<LockState> MachineLocks::ScreenSaverLock()
{
    Reading<LockState> read;
    if (!Kde3Desktop(read.messages)) {
        read.value = TodaysLock(PlasmaAutolockQuery, DmidecodeCaptureFile, read.messages);
        return read;
    }
    read.value.keeper = LockKeeper::Kde3;
    const QString line = CaptureFirstLine(
        {RunWith::Shell, As::HomeOwner},
        WithShellHome(QStringLiteral("cat $HOME/.kde/share/config/kdesktoprc | grep Lock >/tmp/dmidecode")),
        QString::fromLatin1(DmidecodeCaptureFile), RunWith::Shell, read.messages);
    read.value.locked = line.contains(QLatin1String("Lock=true"));
    return read;
}

Reading<LockState> MachineLocks::ReadResumeLock()
{
    Reading<LockState> read;
    if (!Kde3Desktop(read.messages)) {
        read.value = TodaysResumeLock(read.messages);
        return read;
    }
    read.value = {true, LockKeeper::Kde3};
    const QString path = KpowersavercPath();
    if (!Host::current().FileExists(path))
        return read;
    const QString captureFile = CaptureFile();
    const QString line = CaptureFirstLine({RunWith::Shell, As::HomeOwner},
                                          QStringLiteral("cat ") + ShellWord(path) +
                                              QStringLiteral(" | grep lockOnSuspend=false > ") + captureFile,
                                          captureFile, RunWith::Shell, read.messages);
    // Only a line that starts with the key turns the lock off; a commented-out one does not.
    read.value.locked = !line.startsWith(QLatin1Char('l'));
    return read;
}

Change MachineLocks::WriteResumeLock(LockKeeper keeper, bool lock)
{
    switch (keeper) {
    case LockKeeper::Kde3:
        return WriteKde3ResumeLock(lock);
    case LockKeeper::Plasma:
    case LockKeeper::Gnome:
        return WriteTodaysResumeLock(keeper, lock);
    case LockKeeper::None:
        break;
    }
    // Nothing could be read here, so nothing was chosen to write.
    return {};
}

} // namespace Ucomtc
