#include "machine/Capture.h"

#include "machine/Constants.h"
#include "machine/IoError.h"

#include <algorithm>

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

QString InTheWayMessage(const QString& path)
{
    return path + QString::fromLatin1(MsgInTheWay);
}

} // namespace

bool PrepareCapture(Way way, const QString& path, Messages& messages)
{
    Host& host = Host::current();
    // The daemon makes its capture files itself; root makes them in its place.
    if (way.with == RunWith::Root && host.GetUid() != 0)
        return true;
    if (host.MakeFreshFile(path, WriterOf(way)))
        return true;
    messages.append({MessageKind::Error, InTheWayMessage(path)});
    return false;
}

bool RunWriting(Way way, const QString& command, const QString& path, Messages& messages)
{
    return PrepareCapture(way, path, messages) && RunCommand(way, command, messages);
}

QStringList ReadCaptureLines(const QString& fileName, Way way)
{
    const auto content = Host::current().ReadOwnedFile(fileName, WriterOf(way).uid);
    if (!content)
        throw IoError(fileName, QStringLiteral("No regular file of its writer"));
    return SplitLines(*content);
}

bool WithCaptureFirstLine(Way writeWith, const QString& command, const QString& path, Way removeWith,
                          const std::function<void(const QString& firstLine)>& use, Messages& messages)
{
    if (!RunWriting(writeWith, command, path, messages))
        return false;
    const QStringList lines = ReadCaptureLines(path, writeWith);
    use(lines.isEmpty() ? QString() : lines.first());
    RunCommand(removeWith, QStringLiteral("rm ") + path, messages);
    return true;
}

QString CaptureFirstLine(Way writeWith, const QString& command, const QString& path, Way removeWith,
                         Messages& messages)
{
    QString line;
    WithCaptureFirstLine(
        writeWith, command, path, removeWith, [&](const QString& first) { line = first; }, messages);
    return line;
}

void RemoveCapture(const QString& path, Way way, Messages& messages)
{
    if (Host::current().FileExists(path))
        RunCommand(way, QStringLiteral("rm ") + path, messages);
}

bool CommandExists(const QString& name, Messages& messages)
{
    const QString captureFile = QString::fromLatin1(CommandCaptureFile);
    const QString answer = CaptureFirstLine(
        RunWith::System, QStringLiteral("whereis ") + name + QStringLiteral(" >") + captureFile, captureFile,
        RunWith::System, messages);
    // whereis answers "name:" and nothing more for a name it knows nothing about.
    return answer.size() != name.size() + 1;
}

QString FirstInstalled(std::initializer_list<const char*> tools, Messages& messages)
{
    for (const char* tool : tools) {
        if (CommandExists(QString::fromLatin1(tool), messages))
            return QString::fromLatin1(tool);
    }
    return {};
}

bool EditFileWithSed(const QString& sedCommand, const QString& file, const QString& scratchFile, Way way,
                     Messages& messages)
{
    if (!PrepareCapture(way, scratchFile, messages))
        return false;
    if (Succeeded(RunCommandStatus(way, sedCommand + QStringLiteral(" ") + file + QStringLiteral(" > ") +
                                            scratchFile)) &&
        Succeeded(RunCommandStatus(way, QStringLiteral("mv ") + scratchFile + QStringLiteral(" ") + file)))
        return true;
    // An incomplete result, or one that may not replace its target (a user may read a file that
    // only root may replace), must not linger: the next edit, perhaps by root, could not write the
    // scratch file over another user's copy and would fail.
    RunCommandStatus(way, QStringLiteral("rm -f ") + scratchFile);
    return false;
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
    Host& host = Host::current();
    const auto content =
        host.FileExists(fileName) ? host.ReadOwnedFile(fileName, host.Self().uid) : std::nullopt;
    // A missing file, a link, a FIFO or another user's file is no capture of ours.
    TStringinfo values(count, content ? QString() : QStringLiteral(" "));
    if (!content)
        return values;

    const QStringList lines = SplitLines(*content);
    int i = 0;
    for (qsizetype n = 0; n < lines.size() && i < count; ++n) {
        const QString key = QString::fromLatin1(keys[static_cast<std::size_t>(i)]);
        if (lines[n].contains(key)) {
            values[i] = ValueAfterKey(TrimLeadingBlanks(lines[n]), key);
            ++i;
        }
    }
    host.RunShell(QStringLiteral("rm ") + fileName);
    return values;
}

} // namespace Ucomtc
