// The accept loop: one thread per connection, a bounded number at a time.
#pragma once

#include "Connection.h"

#include <string>

namespace Vcd {

struct ServerSettings
{
    std::string socketPath;
    ConnectionSettings connection;
    // Connections served at once. Beyond it new clients wait in the listen queue: idle clients
    // hold a slot for at most the request timeout, so they delay others but never shut them out.
    int maxConnections = 256;
    // Connections of one user (other than root) served at once; beyond it a connection is turned
    // away at once, so no user can hold the slots another user needs.
    int maxConnectionsPerUser = 4;
};

// Serves until SIGTERM, SIGINT or SIGHUP arrives; returns the process exit status.
int RunServer(ServerSettings settings);

} // namespace Vcd
