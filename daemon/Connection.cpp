#include "Connection.h"

#include "Log.h"
#include "Protocol.h"
#include "RequestReader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace Vcd {
namespace {

enum class ReadResult
{
    Done,     // complete or refused
    TimedOut, // the deadline passed first
    Closed,   // the client went away or the socket failed
};

ReadResult ReadRequest(int fd, RequestReader& reader, std::chrono::steady_clock::time_point deadline)
{
    std::array<unsigned char, 512> buffer;
    while (reader.state() == RequestReader::State::NeedMore) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return ReadResult::TimedOut;
        pollfd readable{fd, POLLIN, 0};
        const int ready = ::poll(&readable, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return ReadResult::Closed;
        if (ready == 0)
            return ReadResult::TimedOut;
        const std::size_t size = std::min(buffer.size(), reader.wanted());
        const ssize_t got = ::recv(fd, buffer.data(), size, MSG_DONTWAIT);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
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

} // namespace

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
    return peer;
}

void ServeConnection(int fd, const ConnectionSettings& settings)
{
    const Peer peer = PeerOf(fd);
    RequestReader reader;
    const ReadResult read =
        ReadRequest(fd, reader, std::chrono::steady_clock::now() + settings.requestTimeout);
    if (read == ReadResult::TimedOut) {
        LogRequest(peer, {}, "dropped: no complete request in time");
        Reply(fd, ReplyFailed);
    } else if (read == ReadResult::Closed) {
        LogRequest(peer, {}, "dropped: closed before a complete request");
    } else if (reader.state() == RequestReader::State::Refused) {
        LogRequest(peer, {}, std::string("refused: ") + RefusalText(reader.refusal()));
        Reply(fd, ReplyFailed);
    } else if (peer.uid == static_cast<uid_t>(-1)) {
        LogRequest(peer, reader.command()->line, "refused: unknown peer");
        Reply(fd, ReplyFailed);
    } else {
        bool done;
        {
            std::lock_guard<std::mutex> turn(*settings.carrying);
            done = Carry(*reader.command(), peer, settings.limits);
        }
        LogRequest(peer, reader.command()->line, done ? "done" : "failed");
        Reply(fd, done ? ReplyDone : ReplyFailed);
    }
    ::close(fd);
}

} // namespace Vcd
