#include "SecurityStates.h"

#include "CaptureFile.h"
#include "Commands.h"
#include "Constants.h"
#include "Host.h"
#include "Messages.h"
#include "ShellWord.h"

#include <optional>

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
std::optional<QString> QueryBios(const char* command)
{
    // The daemon wrote the file as root: only the daemon may remove it.
    std::optional<QString> line;
    WithCaptureFirstLine(RunWith::Daemon, QString::fromLatin1(command),
                         QString::fromLatin1(DmidecodeCaptureFile), RunWith::Daemon,
                         [&](const QString& firstLine) { line = firstLine; });
    return line;
}

} // namespace

bool ReadScreenSaverLock()
{
    const QString line = CaptureFirstLine(
        RunWith::ShellInHome,
        WithShellHome(QStringLiteral("cat $HOME/.kde/share/config/kdesktoprc | grep Lock >/tmp/dmidecode")),
        QString::fromLatin1(DmidecodeCaptureFile), RunWith::Shell);
    return line.contains(QLatin1String("Lock=true"));
}

QString KpowersavercPath()
{
    return Host::current().GetEnv("HOME").value_or(QString()) +
           QStringLiteral("/.kde/share/config/kpowersaverc");
}

bool ReadResumeLock()
{
    const QString path = KpowersavercPath();
    if (!FileExists(path))
        return true;
    const QString captureFile = QString::fromLatin1(KpowersaveCaptureFile);
    const QString line = CaptureFirstLine(RunWith::ShellInHome,
                                          QStringLiteral("cat ") + ShellWord(path) +
                                              QStringLiteral(" | grep lockOnSuspend=false > ") + captureFile,
                                          captureFile, RunWith::Shell);
    // Only a line that starts with the key turns the lock off; a commented-out one does not.
    return !line.startsWith(QLatin1Char('l'));
}

bool ReadBiosPasswords(const std::function<void(BiosPassword which, const QString& state)>& found)
{
    if (!CommandExists(QStringLiteral("dmidecode"))) {
        ShowError(QString::fromLatin1(MsgDmidecodeNotFound));
        return false;
    }
    // Each query stands on its own: one the daemon does not run leaves only its own state unread.
    if (const auto line = QueryBios(VcdProtocol::PowerOnPasswordQuery))
        found(BiosPassword::PowerOn, line->left(8));
    if (const auto line = QueryBios(VcdProtocol::AdministratorPasswordQuery))
        found(BiosPassword::Administrator, line->left(8));
    if (const auto line = QueryBios(VcdProtocol::HardDiskPasswordQuery))
        found(BiosPassword::HardDisk, HardDiskState(*line));
    return true;
}

} // namespace Ucomtc
