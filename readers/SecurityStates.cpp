#include "readers/SecurityStates.h"

#include "machine/Capture.h"
#include "machine/ShellWord.h"
#include "readers/Desktop.h"
#include "services/Constants.h"

namespace Ucomtc {

namespace {

// The hard-disk password byte of the OEM block: D9 and DA mean a password is set. A line that
// starts with a blank has no such byte; it shows as a blank rather than as a verdict.
QString HardDiskState(const QString& line)
{
    if (line.isEmpty())
        return QString::fromLatin1(UnknownState);
    if (line.startsWith(QLatin1String("D9")) || line.startsWith(QLatin1String("DA")))
        return QStringLiteral("Enabled");
    if (line.startsWith(QLatin1Char(' ')))
        return QStringLiteral(" ");
    return QStringLiteral("Disabled");
}

// Runs one dmidecode query through the daemon; the first line of its output, or nothing when the
// query was not run.
std::optional<QString> QueryBios(const char* command, Messages& messages)
{
    // The daemon wrote the file as root: only the daemon may remove it.
    std::optional<QString> line;
    WithCaptureFirstLine(
        RunWith::Root, QString::fromLatin1(command), QString::fromLatin1(DmidecodeCaptureFile), RunWith::Root,
        [&](const QString& firstLine) { line = firstLine; }, messages);
    return line;
}

// A password state as dmidecode words it, cut to the label's width; nothing printed is no state.
QString PasswordState(const QString& line)
{
    return line.isEmpty() ? QString::fromLatin1(UnknownState) : line.left(8);
}

std::optional<bool> TrueOrFalse(const QString& answer)
{
    if (answer.trimmed() == QLatin1String("true"))
        return true;
    if (answer.trimmed() == QLatin1String("false"))
        return false;
    return std::nullopt;
}

// A lock as today's desktop keeps it: Plasma's screen locker key through kreadconfig (5, else 6),
// GNOME's lock-enabled through gsettings.
std::optional<bool> TodaysLock(const char* plasmaQuery, const char* captureFile, Messages& messages)
{
    const QString capture = QString::fromLatin1(captureFile);
    const QString into = QStringLiteral(" 2>/dev/null > ") + capture;
    switch (CurrentDesktop()) {
    case Desktop::Plasma: {
        const QString tool = FirstInstalled({"kreadconfig5", "kreadconfig6"}, messages);
        if (tool.isEmpty())
            return std::nullopt;
        return TrueOrFalse(CaptureFirstLine(AsTheUser, tool + QLatin1String(plasmaQuery) + into, capture,
                                            AsTheUser, messages));
    }
    case Desktop::Gnome:
        return TrueOrFalse(CaptureFirstLine(AsTheUser, QLatin1String(GnomeLockEnabled) + capture, capture,
                                            AsTheUser, messages));
    case Desktop::Other:
        break;
    }
    return std::nullopt;
}

} // namespace

bool Kde3Desktop(Messages& messages)
{
    Host& host = Host::current();
    return host.FileExists(host.GetEnv("HOME").value_or(QString()) + QLatin1String(KdesktoprcPath)) ||
           host.FileExists(KpowersavercPath()) || CommandExists(QStringLiteral("dcop"), messages);
}

Reading<std::optional<bool>> ReadScreenSaverLock()
{
    Reading<std::optional<bool>> read;
    if (!Kde3Desktop(read.messages)) {
        read.value = TodaysLock(PlasmaAutolockQuery, DmidecodeCaptureFile, read.messages);
        return read;
    }
    const QString line = CaptureFirstLine(
        {RunWith::Shell, As::HomeOwner},
        WithShellHome(QStringLiteral("cat $HOME/.kde/share/config/kdesktoprc | grep Lock >/tmp/dmidecode")),
        QString::fromLatin1(DmidecodeCaptureFile), RunWith::Shell, read.messages);
    read.value = line.contains(QLatin1String("Lock=true"));
    return read;
}

QString KpowersavercPath()
{
    return Host::current().GetEnv("HOME").value_or(QString()) + QLatin1String(KpowersavercPathInHome);
}

std::optional<bool> TodaysResumeLock(Messages& messages)
{
    return TodaysLock(PlasmaLockOnResumeQuery, KpowersaveCaptureFile, messages);
}

Reading<std::optional<bool>> ReadResumeLock()
{
    Messages messages;
    const bool kde3 = Kde3Desktop(messages);
    auto read = ReadResumeLock(kde3);
    messages.append(read.messages);
    read.messages = messages;
    return read;
}

Reading<std::optional<bool>> ReadResumeLock(bool kde3Desktop)
{
    Reading<std::optional<bool>> read{true, {}};
    if (!kde3Desktop) {
        read.value = TodaysResumeLock(read.messages);
        return read;
    }
    const QString path = KpowersavercPath();
    if (!Host::current().FileExists(path))
        return read;
    const QString captureFile = QString::fromLatin1(KpowersaveCaptureFile);
    const QString line = CaptureFirstLine({RunWith::Shell, As::HomeOwner},
                                          QStringLiteral("cat ") + ShellWord(path) +
                                              QStringLiteral(" | grep lockOnSuspend=false > ") + captureFile,
                                          captureFile, RunWith::Shell, read.messages);
    // Only a line that starts with the key turns the lock off; a commented-out one does not.
    read.value = !line.startsWith(QLatin1Char('l'));
    return read;
}

Reading<BiosPasswordStates> ReadBiosPasswords()
{
    Reading<BiosPasswordStates> read;
    if (!CommandExists(QStringLiteral("dmidecode"), read.messages)) {
        read.messages.append({MessageKind::Error, QString::fromLatin1(MsgDmidecodeNotFound)});
        return read;
    }
    auto& states = read.value;
    // Each query stands on its own: one the daemon does not run leaves only its own state unread.
    if (const auto line = QueryBios(VcdProtocol::PowerOnPasswordQuery, read.messages))
        states[static_cast<int>(BiosPassword::PowerOn)] = PasswordState(*line);
    if (const auto line = QueryBios(VcdProtocol::AdministratorPasswordQuery, read.messages))
        states[static_cast<int>(BiosPassword::Administrator)] = PasswordState(*line);
    if (const auto line = QueryBios(VcdProtocol::HardDiskPasswordQuery, read.messages))
        states[static_cast<int>(BiosPassword::HardDisk)] = HardDiskState(*line);
    return read;
}

} // namespace Ucomtc
