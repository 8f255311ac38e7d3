// One client connection: who it is, reading its request as the bytes arrive, and the reply.
#pragma once

#include "Actions.h"
#include "RequestReader.h"

#include <chrono>
#include <cstdint>

namespace Vcd {

struct ConnectionSettings
{
    // A client has this long to send its whole request; a silent or stalled one is dropped. The
    // program sends its few bytes at once, so a second is ample and keeps connections turning over.
    std::chrono::milliseconds requestTimeout{1'000};
    ActionLimits limits;
};

// The connecting process as the kernel saw it; an unknown one is nobody's (uid -1), never root's.
Peer PeerOf(int fd);

enum class ReadResult
{
    NeedMore, // nothing more to read now; the request is not complete yet
    Done,     // complete or refused: see the reader
    Closed,   // the client went away or the socket failed
};

// Reads what has arrived on the non-blocking `fd` into `reader`, never past the request's end.
ReadResult ReadAvailable(int fd, RequestReader& reader);

// Sends the 4-byte reply without waiting and without a SIGPIPE.
void Reply(int fd, std::uint32_t value);

} // namespace Vcd
