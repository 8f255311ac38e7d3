#include "SafeFiles.h"

#include "protocol/Descriptor.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace Vcd {
namespace {

using VcdProtocol::Descriptor;

// The capture directory, provided it is a real directory owned by root; a directory that another
// user controls would let them swap names under us between our checks.
int OpenRootDirectory(const char* directory)
{
    Descriptor fd(::open(directory, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.get() < 0)
        return -1;
    struct stat info;
    if (::fstat(fd.get(), &info) != 0 || info.st_uid != 0)
        return -1;
    // Writable by others is fine only with the sticky bit, as /tmp has it.
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (info.st_mode & S_ISVTX) == 0)
        return -1;
    return fd.release();
}

// Whether the entry was made less than `age` ago. Its birth time cannot be moved by its owner,
// where the change time is renewed by any chmod; the change time serves where there is no birth time.
bool YoungerThan(int dir, const char* leaf, std::chrono::milliseconds age)
{
    struct statx info;
    if (::statx(dir, leaf, AT_SYMLINK_NOFOLLOW, STATX_BTIME | STATX_CTIME, &info) != 0)
        return false;
    const statx_timestamp made = (info.stx_mask & STATX_BTIME) != 0 ? info.stx_btime : info.stx_ctime;
    const auto since = std::chrono::system_clock::now().time_since_epoch() -
                       (std::chrono::seconds(made.tv_sec) + std::chrono::nanoseconds(made.tv_nsec));
    return since < age && since > -age;
}

} // namespace

int CreateCaptureFile(const char* directory, std::string_view name, const Peer& owner,
                      std::chrono::milliseconds liveAge)
{
    Descriptor dir(OpenRootDirectory(directory));
    if (dir.get() < 0)
        return -1;
    const std::string leaf(name);
    // Another user may plant something again between our unlink and our create; O_EXCL then fails
    // and we try again a few times rather than ever opening what they put there.
    for (int attempt = 0; attempt < 4; ++attempt) {
        struct stat info;
        if (::fstatat(dir.get(), leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISDIR(info.st_mode))
                return -1;
            // Root's entries are never taken away for anyone else: the program running as root
            // makes the name its own file and then writes to it by name, so whoever could make us
            // remove it would plant a link there for root to write through.
            if (info.st_uid == 0 && owner.uid != 0)
                return -1;
            // A live capture of another user is read within milliseconds; it is not pulled away
            // from under them, but it cannot hold the name beyond a few seconds either.
            if (S_ISREG(info.st_mode) && info.st_uid != owner.uid &&
                YoungerThan(dir.get(), leaf.c_str(), liveAge))
                return -1;
            // FIFOs, sockets and devices go like files and links: unlinked, never opened.
            if (::unlinkat(dir.get(), leaf.c_str(), 0) != 0 && errno != ENOENT)
                return -1;
        } else if (errno != ENOENT) {
            return -1;
        }
        Descriptor file(::openat(dir.get(), leaf.c_str(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600));
        if (file.get() < 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        // Hand the file to the requester before anything is written, and make the mode exact
        // whatever umask we were started with.
        if (::fchown(file.get(), owner.uid, owner.gid) != 0 || ::fchmod(file.get(), 0600) != 0) {
            ::unlinkat(dir.get(), leaf.c_str(), 0);
            return -1;
        }
        return file.release();
    }
    return -1;
}

bool RemoveCaptureFile(const char* directory, std::string_view name, const Peer& requester)
{
    Descriptor dir(OpenRootDirectory(directory));
    if (dir.get() < 0)
        return false;
    const std::string leaf(name);
    struct stat info;
    if (::fstatat(dir.get(), leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode))
        return false;
    // The rule the sticky bit applies to the user's own rm: root's files stay, as in
    // CreateCaptureFile, since root may be about to write to the name.
    if (requester.uid != 0 && info.st_uid != requester.uid)
        return false;
    // unlinkat never follows a link, so even a name swapped since the check loses only itself.
    return ::unlinkat(dir.get(), leaf.c_str(), 0) == 0;
}

bool WriteAttribute(const char* path, std::string_view value)
{
    // O_NONBLOCK: a FIFO put in the attribute's place must not hang us.
    Descriptor fd(::open(path, O_WRONLY | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    struct stat info;
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    ssize_t written;
    do {
        written = ::write(fd.get(), value.data(), value.size());
    } while (written < 0 && errno == EINTR);
    // sysfs takes the value in one write; a short write means it was not taken.
    if (written != static_cast<ssize_t>(value.size()))
        return false;
    return ::close(fd.release()) == 0;
}

} // namespace Vcd
