#include "CommandTable.h"

#include <array>

namespace Vcd {
namespace {

// The shell texts are the request lines without their redirection: the daemon opens the capture
// file itself, so that the shell never follows a link planted at the capture path.
constexpr std::array<Command, 9> Table{{
    {"/usr/sbin/dmidecode > /tmp/StoredDmi", ActionKind::Capture, "StoredDmi", "/usr/sbin/dmidecode", {}},
    {"dmidecode > /tmp/StoredDmi", ActionKind::Capture, "StoredDmi", "dmidecode", {}},
    {"rm /tmp/StoredDmi", ActionKind::RemoveCapture, "StoredDmi", {}, {}},
    {"echo -n 0 > /sys/devices/platform/i8042/serio0/serio2/rate", ActionKind::WriteAttribute, {}, {}, "0"},
    {"echo -n 100 > /sys/devices/platform/i8042/serio0/serio2/rate",
     ActionKind::WriteAttribute,
     {},
     {},
     "100"},
    {"/usr/sbin/dmidecode | grep Power-On | gawk '{print $4}' >/tmp/dmidecode",
     ActionKind::Capture,
     "dmidecode",
     "/usr/sbin/dmidecode | grep Power-On | gawk '{print $4}'",
     {}},
    {"/usr/sbin/dmidecode | grep Administrator | gawk '{print $4}' >/tmp/dmidecode",
     ActionKind::Capture,
     "dmidecode",
     "/usr/sbin/dmidecode | grep Administrator | gawk '{print $4}'",
     {}},
    {"/usr/sbin/dmidecode | grep 84 |  grep 07 | gawk '{print $6}' > /tmp/dmidecode",
     ActionKind::Capture,
     "dmidecode",
     "/usr/sbin/dmidecode | grep 84 |  grep 07 | gawk '{print $6}'",
     {}},
    {"rm /tmp/dmidecode", ActionKind::RemoveCapture, "dmidecode", {}, {}},
}};

} // namespace

std::span<const Command> Commands()
{
    return Table;
}

const Command* FindCommand(std::string_view text)
{
    for (const Command& command : Table) {
        if (command.line == text)
            return &command;
    }
    return nullptr;
}

} // namespace Vcd
