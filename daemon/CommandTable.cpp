#include "CommandTable.h"

#include <array>

namespace Vcd {
namespace {

using namespace VcdProtocol;

// The shell texts are the request lines without their redirection: the daemon opens the capture
// file itself, so that the shell never follows a link planted at the capture path.
constexpr std::array<Command, 9> Table{{
    {DumpToStoredDmi, ActionKind::Capture, "StoredDmi", "/usr/sbin/dmidecode", {}},
    {DumpToStoredDmiByPath, ActionKind::Capture, "StoredDmi", "dmidecode", {}},
    {RemoveStoredDmi, ActionKind::RemoveCapture, "StoredDmi", {}, {}},
    {RateOff, ActionKind::WriteAttribute, {}, {}, "0"},
    {RateOn, ActionKind::WriteAttribute, {}, {}, "100"},
    {PowerOnPasswordQuery, ActionKind::Capture, "dmidecode", PowerOnPasswordProgram, {}},
    {AdministratorPasswordQuery, ActionKind::Capture, "dmidecode", AdministratorPasswordProgram, {}},
    {HardDiskPasswordQuery, ActionKind::Capture, "dmidecode", HardDiskPasswordProgram, {}},
    {RemoveDmidecodeCapture, ActionKind::RemoveCapture, "dmidecode", {}, {}},
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
