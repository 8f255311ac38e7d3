#include "readers/SecurityStates.h"

#include "machine/Capture.h"
#include "machine/ShellWord.h"
#include "services/Constants.h"

namespace Ucomtc {

namespace {

// The hard-disk password byte of the OEM block: D9 and DA mean a password is set. A line that
// starts with a blank has no such byte; it shows as a blank rather than as a verdict.
QString HardDiskState(const QString& line)
{
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

} // namespace

Reading<bool> ReadScreenSaverLock()
{
    Reading<bool> read;
    const QString line = CaptureFirstLine(
        {RunWith::Shell, As::HomeOwner},
        WithShellHome(QStringLiteral("cat $HOME/.kde/share/config/kdesktoprc | grep Lock >/tmp/dmidecode")),
        QString::fromLatin1(DmidecodeCaptureFile), RunWith::Shell, read.messages);
    read.value = line.contains(QLatin1String("Lock=true"));
    return read;
}

QString KpowersavercPath()
{
    return Host::current().GetEnv("HOME").value_or(QString()) +
           QStringLiteral("/.kde/share/config/kpowersaverc");
}

Reading<bool> ReadResumeLock()
{
    Reading<bool> read{true, {}};
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
        states[static_cast<int>(BiosPassword::PowerOn)] = line->left(8);
    if (const auto line = QueryBios(VcdProtocol::AdministratorPasswordQuery, read.messages))
        states[static_cast<int>(BiosPassword::Administrator)] = line->left(8);
    if (const auto line = QueryBios(VcdProtocol::HardDiskPasswordQuery, read.messages))
        states[static_cast<int>(BiosPassword::HardDisk)] = HardDiskState(*line);
    return read;
}

} // namespace Ucomtc
