// The only command lines the daemon carries out, and what each one means.
//
// A request is matched against these lines byte for byte. What runs is taken from the matching
// entry, never from the request, so a line that is not listed here can never reach a shell.
#pragma once

#include "protocol/DaemonProtocol.h"
#include <span>
#include <string_view>

namespace Vcd {

enum class ActionKind
{
    Capture,        // run `program` through the shell, its standard output into the capture file
    RemoveCapture,  // remove the capture file if it is a regular file
    WriteAttribute, // write `value` into the pointing stick's sysfs attribute
};

struct Command
{
    std::string_view line; // the request's text, without its NUL
    ActionKind kind;
    std::string_view capture; // a name in the capture directory (Capture, RemoveCapture)
    std::string_view program; // shell text whose output is captured (Capture)
    std::string_view value;   // bytes written to the attribute (WriteAttribute)
};

// Capture files live directly in this directory; their names never contain a slash.
inline constexpr const char* CaptureDirectory = "/tmp";
using VcdProtocol::PointingStickRate;

std::span<const Command> Commands();

// The entry whose line is exactly `text`, or nullptr.
const Command* FindCommand(std::string_view text);

} // namespace Vcd
