#include "CaptureFile.h"

#include "Commands.h"
#include "Host.h"
#include "IoError.h"
#include "Messages.h"
#include "SafeTmp.h"

#include <QFile>
#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace Ucomtc {

namespace {

QStringList SplitLines(const QByteArray& content)
{
    QStringList lines;
    if (content.isEmpty())
        return lines;
    QByteArray text = content;
    text.replace('\r', QByteArray());
    if (text.endsWith('\n'))
        text.chop(1);
    for (const QByteArray& line : text.split('\n'))
        lines.append(QString::fromLocal8Bit(line));
    return lines;
}

// The owner of HOME when we are root and it is someone else's.
std::optional<FileOwner> ForeignHomeOwner()
{
    if (Host::current().GetUid() != 0)
        return std::nullopt;
    const auto home = Host::current().GetEnv("HOME");
    struct stat info;
    if (!home || home->isEmpty() || ::stat(QFile::encodeName(*home).constData(), &info) != 0 ||
        info.st_uid == 0)
        return std::nullopt;
    return FileOwner{info.st_uid, info.st_gid};
}

bool InHome(RunWith way)
{
    return way == RunWith::SystemInHome || way == RunWith::ShellInHome;
}

// Who writes a file that a command run `way` creates.
FileOwner WriterOf(RunWith way)
{
    if (InHome(way)) {
        if (const auto owner = ForeignHomeOwner())
            return *owner;
    }
    return {::geteuid(), ::getegid()};
}

} // namespace

QStringList ReadCaptureLines(const QString& fileName, RunWith way)
{
    const auto content = ReadOwnedFile(fileName, WriterOf(way).uid);
    if (!content)
        throw IoError(fileName, QStringLiteral("No regular file of its writer"));
    return SplitLines(*content);
}

bool RunCommand(RunWith way, const QString& command)
{
    switch (way) {
    case RunWith::System:
    case RunWith::SystemInHome:
        RunCommandStatus(way, command);
        return true;
    case RunWith::Shell:
    case RunWith::ShellInHome:
        if (const auto owner = InHome(way) ? ForeignHomeOwner() : std::nullopt)
            Host::current().RunAs(owner->uid, owner->gid, command);
        else
            RunShell(command);
        return true;
    case RunWith::Daemon:
        return RunPrivileged(command);
    }
    return false;
}

int RunCommandStatus(RunWith way, const QString& command)
{
    Q_ASSERT(way == RunWith::System || way == RunWith::SystemInHome);
    if (const auto owner = InHome(way) ? ForeignHomeOwner() : std::nullopt)
        return Host::current().RunAs(owner->uid, owner->gid, command);
    return System(command);
}

bool PrepareCapture(RunWith way, const QString& path)
{
    // The daemon makes its capture files itself; as root, RunPrivileged prepares the name.
    if (way == RunWith::Daemon || MakeFreshFile(path, WriterOf(way)))
        return true;
    ShowError(InTheWayMessage(path));
    return false;
}

bool RunWriting(RunWith way, const QString& command, const QString& path)
{
    return PrepareCapture(way, path) && RunCommand(way, command);
}

bool WithCaptureFirstLine(RunWith writeWith, const QString& command, const QString& path, RunWith removeWith,
                          const std::function<void(const QString& firstLine)>& use)
{
    if (!RunWriting(writeWith, command, path))
        return false;
    const QStringList lines = ReadCaptureLines(path, writeWith);
    use(lines.isEmpty() ? QString() : lines.first());
    RunCommand(removeWith, QStringLiteral("rm ") + path);
    return true;
}

QString CaptureFirstLine(RunWith writeWith, const QString& command, const QString& path, RunWith removeWith)
{
    Q_ASSERT(writeWith != RunWith::Daemon);
    QString line;
    WithCaptureFirstLine(writeWith, command, path, removeWith, [&](const QString& first) { line = first; });
    return line;
}

QString TrimLeadingBlanks(const QString& s)
{
    qsizetype start = 0;
    while (start < s.size() && (s[start] == u' ' || s[start] == u'\t'))
        ++start;
    return s.mid(start);
}

QString ValueAfterKey(const QString& line, const QString& key)
{
    if (!line.contains(key))
        return QStringLiteral("Error");
    // The key is taken to start the line, wherever it really stands.
    return TrimLeadingBlanks(line.mid(key.size()));
}

TStringinfo ReadCaptureFile(const QString& fileName, int count, std::span<const char* const> keys)
{
    count = std::max(0, std::min<int>(count, static_cast<int>(keys.size())));
    TStringinfo values;
    if (!Host::current().FileExists(fileName)) {
        for (int i = 0; i < count; ++i)
            values.append(QStringLiteral(" "));
        return values;
    }
    const auto content = ReadOwnedFile(fileName, ::geteuid());
    for (int i = 0; i < count; ++i)
        values.append(content ? QString() : QStringLiteral(" "));
    if (!content)
        return values; // a link, a FIFO or another user's file is no capture of ours

    const QStringList lines = SplitLines(*content);
    int i = 0;
    for (qsizetype n = 0; n < lines.size() && i < count; ++n) {
        const QString key = QString::fromLatin1(keys[static_cast<std::size_t>(i)]);
        if (lines[n].contains(key)) {
            values[i] = ValueAfterKey(TrimLeadingBlanks(lines[n]), key);
            ++i;
        }
    }
    RunCommand(RunWith::Shell, QStringLiteral("rm ") + fileName);
    return values;
}

} // namespace Ucomtc
