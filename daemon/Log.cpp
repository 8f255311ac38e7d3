#include "Log.h"

#include <cerrno>
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

} // namespace

void LogRequest(const Peer& peer, std::string_view command, std::string_view outcome)
{
    std::string line = "uid=" + std::to_string(peer.uid) + " pid=" + std::to_string(peer.pid) + " command=";
    if (command.empty())
        line += "-";
    else
        line.append("\"").append(command).append("\"");
    line.append(" outcome=").append(outcome);
    WriteLine(std::move(line));
}

void LogMessage(std::string_view text)
{
    WriteLine(std::string(text));
}

} // namespace Vcd
