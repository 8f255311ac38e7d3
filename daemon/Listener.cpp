#include "Listener.h"

#include "SafeFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace Vcd {
namespace {

// Room after the path for the staging name's suffix.
constexpr std::size_t StagingSuffixSize = sizeof ".away-0123456789abcdef" - 1;

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
    if (path.empty() || path.size() + StagingSuffixSize >= sizeof address.sun_path ||
        path.find('\0') != std::string::npos)
        throw std::runtime_error("unusable socket path " + path);
    address.sun_family = AF_UNIX;

    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0)
        Fail("cannot create a socket for", path);
    // The socket is made under a name of its own and listens before it takes the path, so that a
    // client never finds the path without a listener behind it. bind() makes the file with 0777
    // less the umask, so this umask gives exactly 0666 at once, never a moment with other bits;
    // bind() never follows a link either.
    std::string staging;
    const mode_t previous = ::umask(0111);
    int bound = -1;
    for (int attempt = 0; attempt < 4 && bound != 0; ++attempt) {
        if (!StagingName(path, staging))
            break;
        std::memcpy(address.sun_path, staging.data(), staging.size() + 1);
        bound = ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        if (bound != 0 && errno != EADDRINUSE)
            break;
    }
    ::umask(previous);
    if (bound != 0)
        CloseAndFail("cannot bind", staging.empty() ? path : staging);
    struct stat info;
    if (::lstat(staging.c_str(), &info) == 0) {
        device_ = info.st_dev;
        inode_ = info.st_ino;
    }
    if (::listen(fd_, SOMAXCONN) != 0 || !MoveIntoPlace(AT_FDCWD, staging.c_str(), path.c_str())) {
        const int error = errno;
        ::unlink(staging.c_str());
        errno = error;
        CloseAndFail("cannot listen on", path);
    }
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
