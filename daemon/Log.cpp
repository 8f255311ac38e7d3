#include "Log.h"

#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <unistd.h>
#include <utility>

namespace Vcd {
namespace {

// One write per line, so lines from concurrent connections never interleave.
void WriteLine(std::string line)
{
    line += '\n';
    const char* data = line.data();
    std::size_t left = line.size();
    while (left > 0) {
        const ssize_t written = ::write(STDERR_FILENO, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        data += written;
        left -= static_cast<std::size_t>(written);
    }
}

std::string RequestLine(const Peer& peer, std::string_view command, std::string_view outcome)
{
    std::string line = "uid=" + std::to_string(peer.uid);
    if (peer.user != peer.uid)
        line += " user=" + std::to_string(peer.user);
    line += " pid=" + std::to_string(peer.pid) + " command=";
    if (command.empty())
        line += "-";
    else
        line.append("\"").append(command).append("\"");
    line.append(" outcome=").append(outcome);
    return line;
}

// At most so many lines a second, counting the ones left out.
class Budget
{
public:
    // True when a line may be written now; `leftOut` then says how many were left out before it.
    bool Take(int perSecond, long& leftOut)
    {
        const auto now = std::chrono::steady_clock::now();
        if (now - window_ >= std::chrono::seconds(1)) {
            window_ = now;
            written_ = 0;
        }
        if (written_ >= perSecond) {
            ++leftOut_;
            return false;
        }
        ++written_;
        leftOut = std::exchange(leftOut_, 0);
        return true;
    }

private:
    std::chrono::steady_clock::time_point window_;
    int written_ = 0;
    long leftOut_ = 0;
};

} // namespace

void LogRequest(const Peer& peer, std::string_view command, std::string_view outcome)
{
    constexpr int LinesPerSecond = 10;
    static std::mutex guard;
    // One budget per user whose requests were carried out: no more than the machine has users.
    static std::map<uid_t, Budget> users;
    long leftOut = 0;
    {
        std::lock_guard<std::mutex> lock(guard);
        if (!users[peer.user].Take(LinesPerSecond, leftOut))
            return;
    }
    std::string line = RequestLine(peer, command, outcome);
    if (leftOut > 0)
        line += " (" + std::to_string(leftOut) + " more requests of this user not logged)";
    WriteLine(std::move(line));
}

void LogRefusal(const Peer& peer, std::string_view command, std::string_view outcome)
{
    constexpr int LinesPerSecond = 5;
    static std::mutex guard;
    static Budget everyone;
    long leftOut = 0;
    {
        std::lock_guard<std::mutex> lock(guard);
        if (!everyone.Take(LinesPerSecond, leftOut))
            return;
    }
    std::string line = RequestLine(peer, command, outcome);
    if (leftOut > 0)
        line += " (" + std::to_string(leftOut) + " more refusals not logged)";
    WriteLine(std::move(line));
}

void LogMessage(std::string_view text)
{
    WriteLine(std::string(text));
}

} // namespace Vcd
