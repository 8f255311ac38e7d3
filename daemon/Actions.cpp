#include "Actions.h"

#include "ShellRunner.h"

#include <string>

namespace Vcd {
namespace {

bool Capture(const Command& command, const Peer& requester, const ActionLimits& limits, HandOvers& handOvers)
{
    const std::string program(command.program);
    return WriteCapture(CaptureDirectory, command.capture, requester, limits.liveCaptureAge, handOvers,
                        [&](int output) { return RunShell(program.c_str(), output, limits.commandTimeout); });
}

} // namespace

bool Carry(const Command& command, const Peer& requester, const ActionLimits& limits, HandOvers& handOvers)
{
    switch (command.kind) {
    case ActionKind::Capture:
        return Capture(command, requester, limits, handOvers);
    case ActionKind::RemoveCapture:
        return RemoveCaptureFile(CaptureDirectory, command.capture, requester);
    case ActionKind::WriteAttribute:
        return WriteAttribute(PointingStickRate, command.value);
    }
    return false;
}

} // namespace Vcd
