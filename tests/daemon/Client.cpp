#include "Client.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace VcdTest {

std::string LengthWord(std::uint32_t n)
{
    return std::string(reinterpret_cast<const char*>(&n), sizeof n);
}

std::string Request(std::string_view line)
{
    std::string bytes = LengthWord(static_cast<std::uint32_t>(line.size() + 1));
    bytes.append(line);
    bytes.push_back('\0');
    return bytes;
}

Connection::Connection(const std::string& socketPath)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        close();
}

Connection::~Connection()
{
    close();
}

void Connection::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool Connection::send(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

Answer Connection::await(std::chrono::milliseconds limit)
{
    const auto start = std::chrono::steady_clock::now();
    Answer answer;
    unsigned char reply[4];
    std::size_t got = 0;
    for (;;) {
        const auto spent =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        answer.elapsed = std::chrono::steady_clock::now() - start;
        if (spent >= limit)
            return answer;
        pollfd readable{fd_, POLLIN, 0};
        const int ready = ::poll(&readable, 1, static_cast<int>((limit - spent).count()) + 1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        const ssize_t size = ::recv(fd_, reply + got, sizeof reply - got, 0);
        if (size < 0 && errno == EINTR)
            continue;
        answer.elapsed = std::chrono::steady_clock::now() - start;
        if (size <= 0) {
            answer.kind = Answer::Kind::Closed;
            return answer;
        }
        got += static_cast<std::size_t>(size);
        if (got == sizeof reply) {
            answer.kind = Answer::Kind::Reply;
            std::memcpy(&answer.value, reply, sizeof answer.value);
            return answer;
        }
    }
}

Answer Ask(const std::string& socketPath, std::string_view bytes, std::chrono::milliseconds limit)
{
    Connection connection(socketPath);
    if (!connection.connected() || !connection.send(bytes))
        return Answer{Answer::Kind::Closed, 0, {}};
    return connection.await(limit);
}

std::unique_ptr<Connection> ConnectAs(uid_t uid, gid_t gid, const std::string& socketPath)
{
    const bool switched = ::setegid(gid) == 0 && ::seteuid(uid) == 0;
    auto connection = std::make_unique<Connection>(switched ? socketPath : std::string());
    if (::seteuid(0) != 0 || ::setegid(0) != 0)
        ::abort();
    return connection;
}

namespace {

bool SwitchTo(uid_t uid, gid_t gid)
{
    return ::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0 && ::getuid() == uid;
}

} // namespace

std::optional<Answer> AskAs(uid_t uid, gid_t gid, const std::string& socketPath, std::string_view bytes)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        Answer answer{Answer::Kind::NoAnswer, 0xDEADBEEF, {}};
        if (SwitchTo(uid, gid))
            answer = Ask(socketPath, bytes);
        const bool written = ::write(channel[1], &answer, sizeof answer) == sizeof answer;
        ::_exit(written ? 0 : 1);
    }
    ::close(channel[1]);
    Answer answer;
    const bool read = child > 0 && ::read(channel[0], &answer, sizeof answer) == sizeof answer;
    ::close(channel[0]);
    int status = 0;
    if (child > 0)
        ::waitpid(child, &status, 0);
    if (!read || (answer.kind == Answer::Kind::NoAnswer && answer.value == 0xDEADBEEF))
        return std::nullopt;
    return answer;
}

bool RunAs(uid_t uid, gid_t gid, bool (*check)())
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(SwitchTo(uid, gid) && check() ? 0 : 1);
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

} // namespace VcdTest
