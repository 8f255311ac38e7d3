// The nine command lines the configuration program sends, written out as the program sends them.
#pragma once

#include <array>
#include <string_view>

namespace VcdTest {

inline constexpr std::string_view DumpToStoredDmi = "/usr/sbin/dmidecode > /tmp/StoredDmi";
inline constexpr std::string_view DumpToStoredDmiByPath = "dmidecode > /tmp/StoredDmi";
inline constexpr std::string_view RemoveStoredDmi = "rm /tmp/StoredDmi";
inline constexpr std::string_view RateOff = "echo -n 0 > /sys/devices/platform/i8042/serio0/serio2/rate";
inline constexpr std::string_view RateOn = "echo -n 100 > /sys/devices/platform/i8042/serio0/serio2/rate";
inline constexpr std::string_view PowerOnPassword =
    "/usr/sbin/dmidecode | grep Power-On | gawk '{print $4}' >/tmp/dmidecode";
inline constexpr std::string_view AdministratorPassword =
    "/usr/sbin/dmidecode | grep Administrator | gawk '{print $4}' >/tmp/dmidecode";
inline constexpr std::string_view HddPassword =
    "/usr/sbin/dmidecode | grep 84 |  grep 07 | gawk '{print $6}' > /tmp/dmidecode";
inline constexpr std::string_view RemoveDmidecode = "rm /tmp/dmidecode";

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
    {DumpToStoredDmi, "/tmp/StoredDmi", nullptr},
    {DumpToStoredDmiByPath, "/tmp/StoredDmi", nullptr},
    {PowerOnPassword, "/tmp/dmidecode", "Disabled\n"},
    {AdministratorPassword, "/tmp/dmidecode", "Enabled\n"},
    {HddPassword, "/tmp/dmidecode", "3C\n"},
}};

} // namespace VcdTest
