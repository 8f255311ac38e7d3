// The nine command lines the configuration program sends, written out as the program sends them.
#pragma once

#include "protocol/DaemonProtocol.h"

#include <array>
#include <string_view>

namespace VcdTest {

inline constexpr std::string_view DumpToStoredDmi = VcdProtocol::DumpToStoredDmi;
inline constexpr std::string_view DumpToStoredDmiByPath = VcdProtocol::DumpToStoredDmiByPath;
inline constexpr std::string_view RemoveStoredDmi = VcdProtocol::RemoveStoredDmi;
inline constexpr std::string_view RateOff = VcdProtocol::RateOff;
inline constexpr std::string_view RateOn = VcdProtocol::RateOn;
inline constexpr std::string_view PowerOnPassword = VcdProtocol::PowerOnPasswordQuery;
inline constexpr std::string_view AdministratorPassword = VcdProtocol::AdministratorPasswordQuery;
inline constexpr std::string_view HddPassword = VcdProtocol::HardDiskPasswordQuery;
inline constexpr std::string_view RemoveDmidecode = VcdProtocol::RemoveDmidecodeCapture;

// The protocol header builds the lines from pieces; what goes on the wire must stay exactly this.
static_assert(HddPassword == "/usr/sbin/dmidecode | grep 84 |  grep 07 | gawk '{print $6}' > /tmp/dmidecode");
static_assert(PowerOnPassword == "/usr/sbin/dmidecode | grep Power-On | gawk '{print $4}' >/tmp/dmidecode");
static_assert(RateOn == "echo -n 100 > /sys/devices/platform/i8042/serio0/serio2/rate");

inline constexpr std::array<std::string_view, 9> AllCommands = {
    DumpToStoredDmi, DumpToStoredDmiByPath, RemoveStoredDmi, RateOff,         RateOn,
    PowerOnPassword, AdministratorPassword, HddPassword,     RemoveDmidecode,
};

// A command that leaves a capture file, the file, and what the fake dump puts into it.
struct CaptureCase
{
    std::string_view line;
    const char* path;
    const char* expected; // nullptr: the whole dump
};

inline constexpr std::array<CaptureCase, 5> CaptureCommands = {{
    {DumpToStoredDmi, VcdProtocol::StoredDmiFile, nullptr},
    {DumpToStoredDmiByPath, VcdProtocol::StoredDmiFile, nullptr},
    {PowerOnPassword, VcdProtocol::DmidecodeCaptureFile, "Disabled\n"},
    {AdministratorPassword, VcdProtocol::DmidecodeCaptureFile, "Enabled\n"},
    {HddPassword, VcdProtocol::DmidecodeCaptureFile, "3C\n"},
}};

} // namespace VcdTest
