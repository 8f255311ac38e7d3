#include "Actions.h"

#include "SafeFiles.h"
#include "ShellRunner.h"

#include <string>
#include <unistd.h>

namespace Vcd {
namespace {

bool Capture(const Command& command, const Peer& requester, const ActionLimits& limits)
{
    const int output = CreateCaptureFile(CaptureDirectory, command.capture, requester, limits.liveCaptureAge);
    if (output < 0)
        return false;
    const std::string program(command.program);
    const bool ran = RunShell(program.c_str(), output, limits.commandTimeout);
    const bool closed = ::close(output) == 0;
    return ran && closed;
}

} // namespace

bool Carry(const Command& command, const Peer& requester, const ActionLimits& limits)
{
    switch (command.kind) {
    case ActionKind::Capture:
        return Capture(command, requester, limits);
    case ActionKind::RemoveCapture:
        return RemoveCaptureFile(CaptureDirectory, command.capture, requester);
    case ActionKind::WriteAttribute:
        return WriteAttribute(PointingStickRate, command.value);
    }
    return false;
}

} // namespace Vcd
