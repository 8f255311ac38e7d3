#include "machine/LibcHost.h"

#include "machine/BusyCursor.h"
#include "machine/Constants.h"
#include "machine/IoError.h"
#include "machine/PrivilegedClient.h"
#include "machine/SafeTmp.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace Ucomtc {

namespace {

// Waits for a child and gives its raw wait status; -1 when it cannot be waited for.
int WaitFor(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return status;
}

// The environment a line of the home's owner runs with: ours, but with the owner's names, and with
// the owner's runtime folder and session bus where the owner has them, never root's.
std::vector<QByteArray> OwnerEnvironment(FileOwner owner)
{
    QByteArray name;
    std::vector<char> buffer(16384);
    struct passwd entry;
    struct passwd* found = nullptr;
    if (::getpwuid_r(owner.uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
        name = found->pw_name;
    const QByteArray runtime = "/run/user/" + QByteArray::number(owner.uid);
    struct stat info;
    const bool hasRuntime =
        ::lstat(runtime.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == owner.uid;
    const QByteArray bus = runtime + "/bus";
    const bool hasBus = hasRuntime && ::lstat(bus.constData(), &info) == 0 && S_ISSOCK(info.st_mode) &&
                        info.st_uid == owner.uid;
    // A bus address that came with the owner's own runtime folder (sudo -E) is the owner's.
    const bool ownersAlready = hasRuntime && qgetenv("XDG_RUNTIME_DIR") == runtime;

    std::vector<QByteArray> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const QByteArray line(*variable);
        const QByteArray key = line.left(line.indexOf('='));
        if (key == "USER" || key == "LOGNAME" || key == "XDG_RUNTIME_DIR" ||
            (key == "DBUS_SESSION_BUS_ADDRESS" && !ownersAlready))
            continue;
        variables.push_back(line);
    }
    if (!name.isEmpty()) {
        variables.push_back("USER=" + name);
        variables.push_back("LOGNAME=" + name);
    }
    if (hasRuntime)
        variables.push_back("XDG_RUNTIME_DIR=" + runtime);
    if (hasBus && !ownersAlready)
        variables.push_back("DBUS_SESSION_BUS_ADDRESS=unix:path=" + bus);
    return variables;
}

} // namespace

int LibcHost::System(const QString& command)
{
    BusyCursor busy;
    return std::system(command.toLocal8Bit().constData());
}

void LibcHost::RunShell(const QString& command)
{
    const QByteArray line = command.toLocal8Bit();
    BusyCursor busy;
    // Everything the child needs is prepared before vfork: the child borrows the program's memory
    // until exec, so it makes only raw system calls. vfork spares copying the page tables of a
    // program of tens of megabytes for every shell, as system() spares them.
    char shell[] = "sh";
    char option[] = "-c";
    char* const arguments[] = {shell, option, const_cast<char*>(line.constData()), nullptr};
    const pid_t child = ::vfork();
    if (child < 0)
        return;
    if (child == 0) {
        // Succeeds only for a privileged process; otherwise the command runs with the user's rights.
        // The raw call changes this child alone: libc's setuid would signal the program's threads.
        [[maybe_unused]] long ignored = ::syscall(SYS_setuid, 0);
        ::execve("/bin/sh", arguments, environ);
        ::_exit(127); // never fall back into the program's own code
    }
    WaitFor(child);
}

int LibcHost::RunAs(FileOwner owner, const QString& command)
{
    const QByteArray line = command.toLocal8Bit();
    const std::vector<QByteArray> variables = OwnerEnvironment(owner);
    std::vector<char*> environment;
    for (const QByteArray& variable : variables)
        environment.push_back(const_cast<char*>(variable.constData()));
    environment.push_back(nullptr);
    BusyCursor busy;
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        // Once the child is the home's owner's process, its owner may take any of its descriptors
        // (pidfd_getfd): it keeps none of ours. Its lines redirect what they write themselves.
        const int nothing = ::open("/dev/null", O_RDWR | O_NOCTTY);
        if (nothing < 0 || ::dup2(nothing, 0) < 0 || ::dup2(nothing, 1) < 0 || ::dup2(nothing, 2) < 0 ||
            ::close_range(3, ~0U, 0) != 0)
            ::_exit(126);
        // Groups first: once the user id has changed, they could no longer be dropped.
        if (::setgroups(1, &owner.gid) != 0 || ::setresgid(owner.gid, owner.gid, owner.gid) != 0 ||
            ::setresuid(owner.uid, owner.uid, owner.uid) != 0)
            ::_exit(126);
        char shell[] = "sh";
        char option[] = "-c";
        char* const arguments[] = {shell, option, const_cast<char*>(line.constData()), nullptr};
        ::execve("/bin/sh", arguments, environment.data());
        ::_exit(127);
    }
    return WaitFor(child);
}

DaemonAnswer LibcHost::AskDaemon(const QString& command)
{
    BusyCursor busy;
    return AskDaemonAt(QString::fromLatin1(DaemonSocketPath), command, replyTimeoutMs_);
}

bool LibcHost::FileExists(const QString& path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::optional<FileOwner> LibcHost::OwnerOf(const QString& path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileOwner{info.st_uid, info.st_gid};
}

bool LibcHost::MakeFreshFile(const QString& path, FileOwner owner)
{
    return Ucomtc::MakeFreshFile(path, owner);
}

std::optional<QByteArray> LibcHost::ReadOwnedFile(const QString& path, uid_t writer)
{
    return Ucomtc::ReadOwnedFile(path, writer);
}

std::optional<QByteArray> LibcHost::ReadTextFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat info;
    std::optional<QByteArray> content;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        // sysfs gives every attribute the size of a page, whatever it holds: read until the end.
        QByteArray text(MaxTextFileSize, Qt::Uninitialized);
        qsizetype size = 0;
        for (;;) {
            const ssize_t got = ::read(fd, text.data() + size, static_cast<size_t>(text.size() - size));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                size = -1;
                break;
            }
            size += got;
            if (got == 0 || size == text.size())
                break;
        }
        if (size >= 0) {
            text.truncate(size);
            content = std::move(text);
        }
    }
    ::close(fd);
    return content;
}

QStringList LibcHost::ListFolder(const QString& path)
{
    QStringList names = QDir(path).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(names.begin(), names.end());
    return names;
}

uid_t LibcHost::GetUid()
{
    return ::getuid();
}

FileOwner LibcHost::Self()
{
    return {::geteuid(), ::getegid()};
}

std::optional<QString> LibcHost::GetEnv(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return QString::fromLocal8Bit(value);
}

QString LibcHost::ProgramFile()
{
    return QCoreApplication::applicationFilePath();
}

bool LibcHost::OpenFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QImage LibcHost::LoadImage(const QString& path)
{
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull())
        throw IoError(path, reader.errorString());
    return image;
}

} // namespace Ucomtc
