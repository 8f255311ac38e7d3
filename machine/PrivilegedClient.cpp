#include "machine/PrivilegedClient.h"

#include "protocol/DaemonProtocol.h"
#include "protocol/Descriptor.h"

#include <QDeadlineTimer>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace Ucomtc {
namespace {

// The connection to the daemon, closed on every way out.
struct Socket : VcdProtocol::Descriptor
{
    Socket() : Descriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    int fd() const { return get(); }
};

// Connects without blocking, so that a daemon whose queue is full cannot hold the program past
// the deadline.
bool Connect(int fd, const QString& socketPath, const QDeadlineTimer& deadline)
{
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    if (fd < 0 || path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    // The family field and the path without its NUL: 19 bytes for the daemon's usual path.
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size());
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0)
        return false;
    // A local connection is made at once, or refused with EAGAIN while the daemon's queue is full.
    while (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN || deadline.hasExpired())
            return false;
        ::poll(nullptr, 0, static_cast<int>(std::min<qint64>(10, deadline.remainingTime())));
    }
    return ::fcntl(fd, F_SETFL, flags) == 0;
}

// Only root's process is the daemon: anyone may bind the socket path while the daemon is down.
bool PeerIsRoot(int fd)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof peer &&
           peer.uid == 0;
}

void SendAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        // MSG_NOSIGNAL: a daemon that has gone away must not take the program with it.
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
}

// Reads exactly `size` bytes unless the peer closes, an error occurs or the deadline passes.
bool ReceiveAll(int fd, char* data, std::size_t size, const QDeadlineTimer& deadline)
{
    while (size > 0) {
        if (deadline.hasExpired())
            return false;
        pollfd waiting{fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t got = ::recv(fd, data, size, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

} // namespace

void SendCommand(int socket, const QByteArray& command)
{
    const auto n = static_cast<std::uint32_t>(command.size() + 1);
    SendAll(socket, reinterpret_cast<const char*>(&n), sizeof n);
    SendAll(socket, command.constData(), n); // QByteArray keeps a NUL after its last byte
}

DaemonAnswer AskDaemonAt(const QString& socketPath, const QString& command, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    Socket socket;
    if (!Connect(socket.fd(), socketPath, deadline) || !PeerIsRoot(socket.fd()))
        return DaemonAnswer::Unreachable;
    SendCommand(socket.fd(), command.toLocal8Bit());
    std::uint32_t reply = VcdProtocol::ReplyFailed;
    const bool answered = ReceiveAll(socket.fd(), reinterpret_cast<char*>(&reply), sizeof reply, deadline);
    ::shutdown(socket.fd(), SHUT_RDWR);
    return answered && reply != VcdProtocol::ReplyFailed ? DaemonAnswer::Done : DaemonAnswer::Failed;
}

} // namespace Ucomtc
