// A client of the daemon's socket that speaks the bytes itself, as the configuration program does,
// and can also misbehave on purpose.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace VcdTest {

// The length word n in host byte order.
std::string LengthWord(std::uint32_t n);
// A well-formed request: n = size + 1, the line, its NUL.
std::string Request(std::string_view line);

struct Answer
{
    enum class Kind
    {
        Reply,    // four bytes came
        Closed,   // the daemon closed without (a full) reply
        NoAnswer, // nothing within the wait
    };
    Kind kind = Kind::NoAnswer;
    std::uint32_t value = 0;
    std::chrono::duration<double, std::milli> elapsed{0};

    bool isReply(std::uint32_t expected) const { return kind == Kind::Reply && value == expected; }
};

class Connection
{
public:
    explicit Connection(const std::string& socketPath);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool connected() const { return fd_ >= 0; }
    bool send(std::string_view bytes);
    // Waits up to `limit` for the four reply bytes or the end of the connection.
    Answer await(std::chrono::milliseconds limit);
    void close();

private:
    int fd_ = -1;
};

// A connection the daemon sees as made by `uid`/`gid` (the kernel keeps the credentials of the
// connect); the caller, root, keeps its own rights.
std::unique_ptr<Connection> ConnectAs(uid_t uid, gid_t gid, const std::string& socketPath);

// Connects, sends `bytes`, and waits for the answer.
Answer Ask(const std::string& socketPath, std::string_view bytes,
           std::chrono::milliseconds limit = std::chrono::seconds(15));

// The same from a child process that has switched to `uid`/`gid` first; nothing when it could not.
std::optional<Answer> AskAs(uid_t uid, gid_t gid, const std::string& socketPath, std::string_view bytes);

// Runs `check` in a child process switched to `uid`/`gid`; true when it returned true.
bool RunAs(uid_t uid, gid_t gid, bool (*check)());

} // namespace VcdTest
