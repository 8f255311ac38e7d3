#include "CaptureFile.h"

#include "Commands.h"
#include "Host.h"
#include "IoError.h"

#include <QFile>
#include <algorithm>

namespace Ucomtc {

QStringList ReadTextLines(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError(fileName, file.errorString());
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw IoError(fileName, file.errorString());

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

QString ReadFirstLine(const QString& fileName)
{
    const QStringList lines = ReadTextLines(fileName);
    return lines.isEmpty() ? QString() : lines.first();
}

bool RunCommand(RunWith way, const QString& command)
{
    switch (way) {
    case RunWith::System:
        System(command);
        return true;
    case RunWith::Shell:
        RunShell(command);
        return true;
    case RunWith::Daemon:
        return RunPrivileged(command);
    }
    return false;
}

bool WithCaptureFirstLine(RunWith writeWith, const QString& command, const QString& path, RunWith removeWith,
                          const std::function<void(const QString& firstLine)>& use)
{
    if (!RunCommand(writeWith, command))
        return false;
    use(ReadFirstLine(path));
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
    for (int i = 0; i < count; ++i)
        values.append(QString());

    const QStringList lines = ReadTextLines(fileName);
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
