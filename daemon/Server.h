// The daemon's loop: one thread reads every connection's request as its bytes arrive, another
// carries out the complete ones, one at a time.
#pragma once

#include "Connection.h"

#include <cstddef>
#include <string>

namespace Vcd {

struct ServerSettings
{
    std::string socketPath;
    ConnectionSettings connection;
    // Connections whose request has not all arrived yet. They hold no thread, only a descriptor
    // and the reader's buffer, and each is dropped at its deadline; beyond this many the oldest is
    // dropped for a newcomer, so no number of silent connections keeps a new client out.
    std::size_t maxWaiting = 512;
    // Complete requests waiting for their turn; beyond it a request is answered with a failure.
    std::size_t maxQueued = 256;
    // With the two above, the daemon's descriptors stay under the 1024 a service gets by default.
    // Connections of one user (other than root) open at once, waiting, queued or being carried
    // out, with every uid of theirs (their own and their subordinate range's); beyond it a
    // connection is turned away at once. With requests carried out in the order they came, another
    // user's request waits behind at most this many of each other user's.
    int maxConnectionsPerUser = 4;
};

// Serves until SIGTERM, SIGINT or SIGHUP arrives; returns the process exit status.
int RunServer(ServerSettings settings);

} // namespace Vcd
