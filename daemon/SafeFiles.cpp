#include "SafeFiles.h"

#include "protocol/Descriptor.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/random.h>
#include <sys/stat.h>
#include <thread>
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

// Entries a request never takes away. Root's, for anyone but root: the program running as root
// makes the name its own file and then writes to it by name, so whoever could make us take it away
// would plant a link there for root to write through. The requester's own directory: it is
// theirs to remove.
bool Kept(const struct stat& entry, const Peer& requester)
{
    return (entry.st_uid == 0 && requester.uid != 0) ||
           (S_ISDIR(entry.st_mode) && entry.st_uid == requester.uid);
}

// A new, empty regular file of the owner's, mode 0600, under an unguessable name beside `leaf`.
int CreatePrivateFile(int dir, const std::string& leaf, const Peer& owner, std::string& staging)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (!StagingName(leaf, staging))
            return -1;
        Descriptor file(::openat(dir, staging.c_str(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600));
        if (file.get() < 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        // Hand the file to the requester before anything is written, and make the mode exact
        // whatever umask we were started with.
        if (::fchown(file.get(), owner.uid, owner.gid) != 0 || ::fchmod(file.get(), 0600) != 0) {
            ::unlinkat(dir, staging.c_str(), 0);
            return -1;
        }
        return file.release();
    }
    return -1;
}

// Puts the written capture at `leaf`. Only our own thread hands captures over, so once we have
// waited out another user's, it has had its moment; what stands there then is looked at again.
bool HandOverAt(int dir, const std::string& staging, const std::string& leaf, const Peer& owner,
                std::chrono::milliseconds stand, HandOvers& handOvers, HandOver made)
{
    for (;;) {
        struct stat entry;
        if (::fstatat(dir, leaf.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                return false;
            break;
        }
        if (Kept(entry, owner))
            return false;
        const auto last = handOvers.find(leaf);
        if (last == handOvers.end() || last->second.user == owner.user || last->second.uid != entry.st_uid ||
            last->second.device != entry.st_dev || last->second.inode != entry.st_ino ||
            std::chrono::steady_clock::now() >= last->second.at + stand)
            break;
        std::this_thread::sleep_until(last->second.at + stand);
    }
    if (!MoveIntoPlace(dir, staging.c_str(), leaf.c_str()))
        return false;
    made.at = std::chrono::steady_clock::now();
    handOvers.insert_or_assign(leaf, made);
    return true;
}

} // namespace

bool WriteCapture(const char* directory, std::string_view name, const Peer& owner,
                  std::chrono::milliseconds stand, HandOvers& handOvers,
                  const std::function<bool(int fd)>& write)
{
    Descriptor dir(OpenRootDirectory(directory));
    if (dir.get() < 0)
        return false;
    const std::string leaf(name);
    struct stat entry;
    if (::fstatat(dir.get(), leaf.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 && Kept(entry, owner))
        return false;
    std::string staging;
    Descriptor file(CreatePrivateFile(dir.get(), leaf, owner, staging));
    if (file.get() < 0)
        return false;
    const bool written =
        ::fstat(file.get(), &entry) == 0 && write(file.get()) && ::close(file.release()) == 0;
    if (written && HandOverAt(dir.get(), staging, leaf, owner, stand, handOvers,
                              HandOver{owner.uid, owner.user, entry.st_dev, entry.st_ino, {}}))
        return true;
    ::unlinkat(dir.get(), staging.c_str(), 0);
    return false;
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
    // WriteCapture, since root may be about to write to the name.
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

bool StagingName(const std::string& path, std::string& name)
{
    std::uint64_t value = 0;
    if (::getrandom(&value, sizeof value, 0) != static_cast<ssize_t>(sizeof value))
        return false;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(value));
    name = path + ".away-" + hex;
    return true;
}

bool MoveIntoPlace(int directory, const char* staging, const char* path)
{
    // Each pass fails only if someone swaps a directory in or out of the path between our two
    // calls; nobody can do that every time.
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (::renameat(directory, staging, directory, path) == 0)
            return true;
        if (errno != EISDIR)
            return false;
        if (::renameat2(directory, staging, directory, path, RENAME_EXCHANGE) == 0)
            return true;
        if (errno != ENOENT)
            return false;
    }
    return false;
}

} // namespace Vcd
