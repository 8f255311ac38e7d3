#include "Connection.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <sys/socket.h>

namespace Vcd {

Peer PeerOf(int fd)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    Peer peer;
    // Unknown credentials are treated as nobody's, never as root's.
    peer.uid = static_cast<uid_t>(-1);
    peer.gid = static_cast<gid_t>(-1);
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 && size == sizeof credentials) {
        peer.pid = credentials.pid;
        peer.uid = credentials.uid;
        peer.gid = credentials.gid;
    }
    peer.user = peer.uid;
    return peer;
}

ReadResult ReadAvailable(int fd, RequestReader& reader)
{
    std::array<unsigned char, 512> buffer;
    while (reader.state() == RequestReader::State::NeedMore) {
        const std::size_t size = std::min(buffer.size(), reader.wanted());
        const ssize_t got = ::recv(fd, buffer.data(), size, MSG_DONTWAIT);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return ReadResult::NeedMore;
        if (got <= 0)
            return ReadResult::Closed;
        reader.feed(buffer.data(), static_cast<std::size_t>(got));
    }
    return ReadResult::Done;
}

void Reply(int fd, std::uint32_t value)
{
    // MSG_NOSIGNAL: a client that has already gone must not end the daemon. Four bytes always fit
    // into an empty socket buffer, so the send never waits either.
    ::send(fd, &value, sizeof value, MSG_NOSIGNAL | MSG_DONTWAIT);
}

} // namespace Vcd
