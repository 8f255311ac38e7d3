// The system rows' paths, command lines, keys and texts: the DMI dump and the files the general
// rows come from.
#pragma once

#include <array>

namespace Ucomtc {

// "Serial Number:" twice: the system unit's serial comes first in the dump, the board's next.
inline constexpr std::array<const char*, 6> DmiKeys{
    "Version:", "Release Date:", "Product Name:", "Serial Number:", "Serial Number:", "Embedded Controller"};

inline constexpr const char* MsgDmidecodeNotFound = "command dmidecode not found";
// Today's systems keep what the general rows read elsewhere; these are the places and the lines
// that ask for them, used where the old sources are missing.
inline constexpr const char* ReadIssueIntoCapture = "grep Linux /etc/issue > /tmp/dmidecode";
inline constexpr const char* IssueWelcome = "Welcome to ";
inline constexpr std::array<const char*, 2> OsReleaseFiles{"/etc/os-release", "/usr/lib/os-release"};
inline constexpr const char* ReadProcessorIntoCapture = "grep \"model name\" /proc/cpuinfo > /tmp/dmidecode";

inline constexpr const char* MsgNoBiosInformation = "can't get the BIOS information";
inline constexpr const char* MsgNotVeltor = "the device you are using is not from VELTOR";

} // namespace Ucomtc
