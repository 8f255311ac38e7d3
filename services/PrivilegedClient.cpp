#include "PrivilegedClient.h"

#include "BusyCursor.h"
#include "SafeTmp.h"

#include <DaemonProtocol.h>

#include <QElapsedTimer>
#include <QFile>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace Ucomtc {
namespace {

// Closes the descriptor on every way out.
class Socket
{
public:
    Socket() : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~Socket()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

bool Connect(int fd, const QString& socketPath)
{
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    if (fd < 0 || path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    // The family field and the path without its NUL: 19 bytes for the daemon's usual path.
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size());
    int result;
    do {
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length);
    } while (result < 0 && errno == EINTR);
    return result == 0;
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

// Reads exactly `size` bytes unless the peer closes, an error occurs or the time runs out.
bool ReceiveAll(int fd, char* data, std::size_t size, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (size > 0) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            return false;
        pollfd waiting{fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left));
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

bool RunPrivilegedThrough(Host& host, const QString& socketPath, const QString& command, int replyTimeoutMs)
{
    if (host.GetUid() == 0) {
        // In the daemon's place, root makes the capture name its own first, as the daemon would.
        const auto target = RedirectTarget(command);
        if (target && !MakeFreshFile(*target)) {
            host.ShowMessage(MessageKind::Error, InTheWayMessage(*target));
            return false;
        }
        host.System(command);
        return true;
    }
    bool carriedOut = false;
    {
        BusyCursor busy;
        Socket socket;
        if (Connect(socket.fd(), socketPath) && PeerIsRoot(socket.fd())) {
            SendCommand(socket.fd(), command.toLocal8Bit());
            std::uint32_t reply = VcdProtocol::ReplyDone;
            if (ReceiveAll(socket.fd(), reinterpret_cast<char*>(&reply), sizeof reply, replyTimeoutMs)) {
                carriedOut = reply != VcdProtocol::ReplyFailed;
            }
            ::shutdown(socket.fd(), SHUT_RDWR);
            return carriedOut;
        }
    }
    // Outside the busy scope: the pointer is back before the box appears.
    host.ShowMessage(MessageKind::Plain, QString::fromLatin1(MsgDaemonNotStarted));
    return false;
}

} // namespace Ucomtc
