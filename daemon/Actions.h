// Carries out one command of the table for one requester.
#pragma once

#include "CommandTable.h"
#include "Peer.h"

#include <chrono>

namespace Vcd {

struct ActionLimits
{
    // A dump that has not finished by then is killed and answered as a failure.
    std::chrono::milliseconds commandTimeout{20'000};
    // How old another user's capture file must be before a request may replace it: a capture is
    // read within milliseconds of its reply, so this is ample and no name can be held for long.
    std::chrono::milliseconds liveCaptureAge{2'500};
};

// True when the command's effect took place: its capture file written by a shell that exited with
// 0, its capture file removed, or its value accepted by the attribute.
bool Carry(const Command& command, const Peer& requester, const ActionLimits& limits);

} // namespace Vcd
