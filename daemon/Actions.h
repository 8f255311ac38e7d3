// Carries out one command of the table for one requester.
#pragma once

#include "CommandTable.h"
#include "Peer.h"
#include "SafeFiles.h"

#include <chrono>

namespace Vcd {

struct ActionLimits
{
    // A dump that has not finished by then is killed and answered as a failure.
    std::chrono::milliseconds commandTimeout{20'000};
    // How long a capture we handed over stands before another user's takes its name (theirs waits
    // for it): its owner reads it within milliseconds of the reply, so this is ample, and short
    // enough that a capture waiting behind another's is still served within a second.
    std::chrono::milliseconds liveCaptureAge{300};
};

// True when the command's effect took place: its capture file written by a shell that exited with
// 0 and handed over, its capture file removed, or its value accepted by the attribute.
bool Carry(const Command& command, const Peer& requester, const ActionLimits& limits, HandOvers& handOvers);

} // namespace Vcd
