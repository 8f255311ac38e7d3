#include "Log.h"

#include <cerrno>
#include <chrono>
#include <mutex>
#include <string>
#include <unistd.h>

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
    std::string line = "uid=" + std::to_string(peer.uid) + " pid=" + std::to_string(peer.pid) + " command=";
    if (command.empty())
        line += "-";
    else
        line.append("\"").append(command).append("\"");
    line.append(" outcome=").append(outcome);
    return line;
}

} // namespace

void LogRequest(const Peer& peer, std::string_view command, std::string_view outcome)
{
    WriteLine(RequestLine(peer, command, outcome));
}

void LogRefusal(const Peer& peer, std::string_view command, std::string_view outcome)
{
    constexpr int LinesPerSecond = 5;
    static std::mutex guard;
    static std::chrono::steady_clock::time_point window;
    static int written = 0;
    static long leftOut = 0;

    std::string line;
    {
        std::lock_guard<std::mutex> lock(guard);
        const auto now = std::chrono::steady_clock::now();
        if (now - window >= std::chrono::seconds(1)) {
            window = now;
            written = 0;
        }
        if (written >= LinesPerSecond) {
            ++leftOut;
            return;
        }
        ++written;
        line = RequestLine(peer, command, outcome);
        if (leftOut > 0)
            line += " (" + std::to_string(leftOut) + " more refusals not logged)";
        leftOut = 0;
    }
    WriteLine(std::move(line));
}

void LogMessage(std::string_view text)
{
    WriteLine(std::string(text));
}

} // namespace Vcd
