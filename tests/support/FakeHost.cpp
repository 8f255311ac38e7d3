#include "FakeHost.h"

#include "MessageKindName.h"

#include <PrivilegedClient.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

using Ucomtc::MessageKind;

int FakeHost::Run(const QString& kind, const QString& command)
{
    log.append(kind + QStringLiteral(": ") + command);
    const auto answer = answers.constFind(command);
    if (answer != answers.constEnd())
        return (*answer)();
    // The one command whose effect every test relies on: removing a capture file.
    if (command.startsWith(QLatin1String("rm ")))
        QFile::remove(command.mid(3).trimmed());
    return 0;
}

int FakeHost::System(const QString& command)
{
    return Run(QStringLiteral("system"), command);
}

void FakeHost::RunShell(const QString& command)
{
    Run(QStringLiteral("shell"), command);
}

int FakeHost::RunAs(uid_t uid, gid_t, const QString& command)
{
    return Run(QStringLiteral("as ") + QString::number(uid), command);
}

bool FakeHost::RunPrivileged(const QString& socketPath, const QString& command)
{
    // Root goes the production way: straight to system(), no daemon.
    if (uid == 0)
        return Ucomtc::RunPrivilegedThrough(*this, socketPath, command, 0);
    Run(QStringLiteral("privileged"), command);
    return privilegedResults.value(command, true);
}

bool FakeHost::FileExists(const QString& path)
{
    fileTests.append(path);
    const auto known = files.constFind(path);
    if (known != files.constEnd())
        return *known;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

std::optional<QString> FakeHost::GetEnv(const char* name)
{
    const auto value = environment.constFind(QString::fromLatin1(name));
    if (value == environment.constEnd())
        return std::nullopt;
    return *value;
}

void FakeHost::ShowMessage(MessageKind kind, const QString& text)
{
    log.append(QString::fromLatin1(NameOf(kind).name) + QStringLiteral(": ") + text);
    if (onMessage)
        onMessage(kind, text);
}

QImage FakeHost::LoadImage(const QString& path)
{
    log.append(QStringLiteral("image: ") + path);
    if (missingImages.contains(path))
        throw std::runtime_error((path + QStringLiteral(": No such file or directory")).toStdString());
    // A picture that tells which file it stands for.
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(static_cast<QRgb>(qHash(path))));
    image.setText(QStringLiteral("path"), path);
    return image;
}

bool FakeHost::OpenFile(const QString& path)
{
    log.append(QStringLiteral("open: ") + path);
    return openFileWorks;
}

void FakeHost::InstallProgram(const QString& name)
{
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/local/bin:/usr/bin:/bin"));
    files.insert(QStringLiteral("/usr/bin/") + name, true);
}

void FakeHost::Whereis(const QString& name, bool known)
{
    const QString line = known ? name + QStringLiteral(": /usr/bin/") + name : name + QStringLiteral(":");
    answers.insert(QStringLiteral("whereis ") + name + QStringLiteral(" >/tmp/command"), [line] {
        WriteFile(QStringLiteral("/tmp/command"), line.toUtf8() + '\n');
        return 0;
    });
}

QStringList FakeHost::Entries(const QString& prefix) const
{
    QStringList entries;
    for (const QString& entry : log) {
        if (entry.startsWith(prefix))
            entries.append(entry.mid(prefix.size()));
    }
    return entries;
}

void FakeHost::WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        throw std::runtime_error(("cannot write " + path).toStdString());
}

int FakeHost::PutFolderAt(const QString& path)
{
    QFile::remove(path);
    return QDir().mkdir(path) ? 0 : 256;
}
