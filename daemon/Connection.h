// Serves one accepted connection: one request, one reply, then close.
#pragma once

#include "Actions.h"

#include <chrono>
#include <mutex>

namespace Vcd {

struct ConnectionSettings
{
    // A client has this long to send its whole request; a silent or stalled one is dropped. The
    // program sends its few bytes at once, so a second is ample and keeps slots turning over.
    std::chrono::milliseconds requestTimeout{1'000};
    ActionLimits limits;
    // Held while a command runs: the commands share fixed capture paths, and one at a time also
    // bounds how many root processes the clients can make us start.
    std::mutex* carrying = nullptr;
};

// The connecting process as the kernel saw it; an unknown one is nobody's (uid -1), never root's.
Peer PeerOf(int fd);

// Takes ownership of `fd` and closes it.
void ServeConnection(int fd, const ConnectionSettings& settings);

} // namespace Vcd
