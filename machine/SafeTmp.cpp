#include "machine/SafeTmp.h"

#include "machine/IoError.h"

#include "protocol/Descriptor.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Ucomtc {
namespace {

using VcdProtocol::Descriptor;

// Capture files are a few kilobytes; a bound keeps a file grown by someone else from filling memory.
constexpr qint64 MaxCaptureSize = 16 * 1024 * 1024;

// A directory cannot be unlinked, and removing one recursively would follow whatever it holds: it
// goes to a name of its own beside it. The sticky bit lets only its owner or root do this.
bool RenameAway(const QByteArray& path)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        const QByteArray away = path + ".away-" + QByteArray::number(::getpid()) + '-' +
                                QByteArray::number(QRandomGenerator::global()->generate(), 16);
        if (::renameat2(AT_FDCWD, path.constData(), AT_FDCWD, away.constData(), RENAME_NOREPLACE) == 0)
            return true;
        if (errno != EEXIST)
            return errno == ENOENT;
    }
    return false;
}

// Clears the name; true when nothing stands there any more.
bool ClearName(const QByteArray& path)
{
    struct stat info;
    if (::lstat(path.constData(), &info) != 0)
        return errno == ENOENT;
    if (S_ISDIR(info.st_mode))
        return RenameAway(path);
    // unlink never follows a link and removes only this name of a hard-linked file.
    return ::unlink(path.constData()) == 0 || errno == ENOENT;
}

} // namespace

bool MakeFreshFile(const QString& path, FileOwner owner)
{
    const QByteArray name = QFile::encodeName(path);
    // Someone may plant a new entry between our removal and our create; O_EXCL then refuses it and
    // we look again, a few times, rather than ever opening what they put there.
    for (int attempt = 0; attempt < 8; ++attempt) {
        if (!ClearName(name))
            return false;
        Descriptor file(
            ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666));
        if (file.get() < 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        if ((owner.uid != ::geteuid() || owner.gid != ::getegid()) &&
            ::fchown(file.get(), owner.uid, owner.gid) != 0) {
            ::unlink(name.constData());
            return false;
        }
        return true;
    }
    return false;
}

std::optional<QByteArray> ReadOwnedFile(const QString& path, uid_t writer)
{
    Descriptor file(::open(QFile::encodeName(path).constData(),
                           O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0 && errno == ELOOP)
        return std::nullopt;
    if (file.get() < 0)
        throw IoError(path, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat info;
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    if (info.st_uid != writer && info.st_uid != 0 && info.st_uid != ::geteuid())
        return std::nullopt;
    QByteArray content;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw IoError(path, QString::fromLocal8Bit(std::strerror(errno)));
        if (got == 0)
            return content;
        if (content.size() + got > MaxCaptureSize)
            return std::nullopt;
        content.append(buffer, got);
    }
}

} // namespace Ucomtc
