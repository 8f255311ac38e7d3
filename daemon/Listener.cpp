#include "Listener.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace Vcd {
namespace {

// Whatever stands at the path goes out of the way without being followed: anything but a directory
// is unlinked, a directory (which unlink refuses and which we never empty) is renamed beside it.
bool ClearPath(const std::string& path)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(info.st_mode))
        return ::unlink(path.c_str()) == 0 || errno == ENOENT;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const std::string away =
            path + ".away-" + std::to_string(::getpid()) + "-" + std::to_string(::random());
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, away.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        if (errno != EEXIST)
            return errno == ENOENT;
    }
    return false;
}

[[noreturn]] void Fail(const std::string& what, const std::string& path)
{
    throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

} // namespace

void Listener::CloseAndFail(const std::string& what, const std::string& path)
{
    const int error = errno;
    ::close(fd_);
    errno = error;
    Fail(what, path);
}

Listener::Listener(const std::string& path) : path_(path)
{
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path || path.find('\0') != std::string::npos)
        throw std::runtime_error("unusable socket path " + path);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());

    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0)
        Fail("cannot create a socket for", path);
    // bind() makes the file with 0777 less the umask, so this umask gives exactly 0666 at once,
    // never a moment with other bits. bind() also never follows a link: a name planted between
    // our unlink and our bind only makes it fail, and we clear the name again.
    const mode_t previous = ::umask(0111);
    int bound = -1;
    for (int attempt = 0; attempt < 4 && bound != 0; ++attempt) {
        if (!ClearPath(path))
            break;
        bound = ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    }
    ::umask(previous);
    if (bound != 0)
        CloseAndFail("cannot bind", path);
    struct stat info;
    if (::lstat(path.c_str(), &info) == 0) {
        device_ = info.st_dev;
        inode_ = info.st_ino;
    }
    if (::listen(fd_, SOMAXCONN) != 0)
        CloseAndFail("cannot listen on", path);
}

Listener::~Listener()
{
    struct stat info;
    if (::lstat(path_.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) && info.st_dev == device_ &&
        info.st_ino == inode_)
        ::unlink(path_.c_str());
    ::close(fd_);
}

} // namespace Vcd
