#include "tests/support/FakeHost.h"

#include "machine/IoError.h"
#include "machine/SafeTmp.h"
#include "tests/support/MessageKindName.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <stdexcept>
#include <sys/stat.h>

using Ucomtc::DaemonAnswer;
using Ucomtc::FileOwner;

namespace {

FakeHost* newest = nullptr;

} // namespace

FakeHost::FakeHost()
{
    if (!tmp_.isValid() || !QDir(tmp_.path()).mkdir(QStringLiteral("tmp")))
        throw std::runtime_error("cannot make the fake host's folder");
    newest = this;
    // The boxes go to the fake host in use, whichever fake was made last.
    sink_.emplace([this](const Ucomtc::Message& message) {
        auto* installed = dynamic_cast<FakeHost*>(&Host::current());
        FakeHost& host = installed != nullptr ? *installed : *this;
        host.log.append(QString::fromLatin1(NameOf(message.kind).name) + QStringLiteral(": ") + message.text);
        if (host.onMessage)
            host.onMessage(message);
    });
}

FakeHost::~FakeHost()
{
    if (newest == this)
        newest = nullptr;
}

FakeHost& FakeHost::operator=(FakeHost&& fresh)
{
    FakeHostScript::operator=(std::move(fresh));
    QDir folder(tmp_.path() + QStringLiteral("/tmp"));
    if (!folder.removeRecursively() || !QDir(tmp_.path()).mkdir(QStringLiteral("tmp")))
        throw std::runtime_error("cannot empty the fake host's folder");
    newest = this;
    return *this;
}

QString FakeHost::Real(const QString& path)
{
    // The program's fixed names stand right in /tmp; a test's own folder there stays where it is.
    const bool fixedName = path.startsWith(QLatin1String("/tmp/")) && path.indexOf(QLatin1Char('/'), 5) < 0 &&
                           !QFileInfo(path).isDir();
    return newest != nullptr && fixedName ? newest->tmp_.path() + path : path;
}

QString FakeHost::RealLine(QString command)
{
    // Only the fixed names: a test's own folder in /tmp ("/tmp/NAME-XXXXXX/…") stays.
    static const QRegularExpression fixedName(QStringLiteral(R"(/tmp/(?=[\w.]+(?![\w./-])))"));
    return newest != nullptr ? command.replace(fixedName, newest->tmp_.path() + QStringLiteral("/tmp/"))
                             : command;
}

int FakeHost::Run(const QString& kind, const QString& command)
{
    log.append(kind + QStringLiteral(": ") + command);
    const auto answer = answers.constFind(command);
    if (answer != answers.constEnd())
        return (*answer)();
    for (const auto& [part, partAnswer] : answersByPart) {
        if (command.contains(part))
            return partAnswer();
    }
    // The one command whose effect every test relies on: removing a capture file.
    if (command.startsWith(QLatin1String("rm ")))
        QFile::remove(Real(command.mid(3).trimmed()));
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

int FakeHost::RunAs(FileOwner owner, const QString& command)
{
    return Run(QStringLiteral("as ") + QString::number(owner.uid), command);
}

DaemonAnswer FakeHost::AskDaemon(const QString& command)
{
    if (!daemonUp) {
        log.append(QStringLiteral("privileged: ") + command);
        return DaemonAnswer::Unreachable;
    }
    Run(QStringLiteral("privileged"), command);
    return privilegedResults.value(command, true) ? DaemonAnswer::Done : DaemonAnswer::Failed;
}

bool FakeHost::FileExists(const QString& path)
{
    fileTests.append(path);
    const auto known = files.constFind(path);
    if (known != files.constEnd())
        return *known;
    const QFileInfo info(Real(path));
    return info.exists() && !info.isDir();
}

std::optional<FileOwner> FakeHost::OwnerOf(const QString& path)
{
    struct stat info;
    if (::stat(QFile::encodeName(Real(path)).constData(), &info) != 0)
        return std::nullopt;
    return FileOwner{info.st_uid, info.st_gid};
}

bool FakeHost::MakeFreshFile(const QString& path, FileOwner owner)
{
    return Ucomtc::MakeFreshFile(Real(path), owner);
}

std::optional<QByteArray> FakeHost::ReadOwnedFile(const QString& path, uid_t writer)
{
    try {
        return Ucomtc::ReadOwnedFile(Real(path), writer);
    } catch (const Ucomtc::IoError& error) {
        // Reported under the name the program asked for.
        const QString what = QString::fromLocal8Bit(error.what());
        throw Ucomtc::IoError(path, what.mid(Real(path).size() + 2));
    }
}

std::optional<QByteArray> FakeHost::ReadTextFile(const QString& path)
{
    fileReads.append(path);
    const auto known = texts.constFind(path);
    if (known != texts.constEnd())
        return *known;
    if (root.isEmpty())
        return std::nullopt;
    QFile file(root + path);
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(Ucomtc::MaxTextFileSize);
}

QStringList FakeHost::ListFolder(const QString& path)
{
    QStringList names;
    if (!root.isEmpty())
        names = QDir(root + path)
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const QString folder = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
    for (auto text = texts.constBegin(); text != texts.constEnd(); ++text) {
        if (text.key().startsWith(folder))
            names.append(text.key().mid(folder.size()).section(QLatin1Char('/'), 0, 0));
    }
    names.removeDuplicates();
    std::sort(names.begin(), names.end());
    return names;
}

FileOwner FakeHost::Self()
{
    // Files the program makes are this process's, whoever the host pretends to be.
    return {::geteuid(), ::getegid()};
}

std::optional<QString> FakeHost::GetEnv(const char* name)
{
    const auto value = environment.constFind(QString::fromLatin1(name));
    if (value == environment.constEnd())
        return std::nullopt;
    return *value;
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

void FakeHost::UseTexts(const QString& folder, const QByteArray& listing)
{
    for (const QByteArray& line : listing.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && !line.startsWith('#'))
            texts.insert(folder + QLatin1Char('/') + QString::fromUtf8(line.left(equals)),
                         line.mid(equals + 1) + '\n');
    }
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
    QFile file(Real(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        throw std::runtime_error(("cannot write " + path).toStdString());
}

int FakeHost::PutFolderAt(const QString& path)
{
    QFile::remove(Real(path));
    return QDir().mkdir(Real(path)) ? 0 : 256;
}
