#include "areas/system/BiosPasswords.h"

#include "areas/system/Constants.h"
#include "machine/Capture.h"

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

} // namespace

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
