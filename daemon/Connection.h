// Serves one accepted connection: one request, one reply, then close.
#pragma once

#include "Actions.h"

#include <chrono>
#include <mutex>

namespace Vcd {

struct ConnectionSettings
{
    // A client has this long to send its whole request; a silent or stalled one is dropped.
    std::chrono::milliseconds requestTimeout{5'000};
    ActionLimits limits;
    // Held while a command runs: the commands share fixed capture paths, and one at a time also
    // bounds how many root processes the clients can make us start.
    std::mutex* carrying = nullptr;
};

// Takes ownership of `fd` and closes it.
void ServeConnection(int fd, const ConnectionSettings& settings);

} // namespace Vcd
