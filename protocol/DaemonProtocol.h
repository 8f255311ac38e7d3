// What the configuration program and its privileged daemon agree on: where the socket is, how a
// request and its reply are framed, and the only command lines the daemon carries out.
//
// A request is a 4-byte length word n in host byte order, then n bytes: the command line and its
// NUL. The reply is one 4-byte word in host byte order, sent once the command has finished.
//
// Kept free of Qt: the daemon includes it as well as the program.
#pragma once

#include <cstddef>
#include <cstdint>

// The paths inside the command lines, as literals so that the lines can be put together at compile
// time and still read as the daemon receives them.
#define VCD_STORED_DMI "/tmp/StoredDmi"
#define VCD_DMIDECODE_CAPTURE "/tmp/dmidecode"
#define VCD_POINTING_STICK_RATE "/sys/devices/platform/i8042/serio0/serio2/rate"

namespace VcdProtocol {

inline constexpr const char* SocketPath = "/tmp/vx_vc_socket";

// The longest command line the daemon carries out is well under 100 bytes; anything beyond this
// bound is refused from the length word alone, so a client cannot make it allocate or wait for more.
inline constexpr std::uint32_t MaxRequestLength = 4096;
inline constexpr std::size_t LengthWordSize = sizeof(std::uint32_t);

inline constexpr std::uint32_t ReplyDone = 0;
inline constexpr std::uint32_t ReplyFailed = 1;

// The capture files the daemon writes as root, and the sysfs attribute it writes.
inline constexpr const char* StoredDmiFile = VCD_STORED_DMI;
inline constexpr const char* DmidecodeCaptureFile = VCD_DMIDECODE_CAPTURE;
inline constexpr const char* PointingStickRate = VCD_POINTING_STICK_RATE;

// The three BIOS password queries, without the redirection into their capture file.
#define VCD_POWER_ON_QUERY "/usr/sbin/dmidecode | grep Power-On | gawk '{print $4}'"
#define VCD_ADMINISTRATOR_QUERY "/usr/sbin/dmidecode | grep Administrator | gawk '{print $4}'"
#define VCD_HARD_DISK_QUERY "/usr/sbin/dmidecode | grep 84 |  grep 07 | gawk '{print $6}'"

// The nine command lines, byte for byte as the program sends them (the blanks around ">" differ
// from line to line, and the daemon matches them exactly).
inline constexpr const char* DumpToStoredDmi = "/usr/sbin/dmidecode > " VCD_STORED_DMI;
inline constexpr const char* DumpToStoredDmiByPath = "dmidecode > " VCD_STORED_DMI;
inline constexpr const char* RemoveStoredDmi = "rm " VCD_STORED_DMI;
inline constexpr const char* RateOff = "echo -n 0 > " VCD_POINTING_STICK_RATE;
inline constexpr const char* RateOn = "echo -n 100 > " VCD_POINTING_STICK_RATE;
inline constexpr const char* PowerOnPasswordQuery = VCD_POWER_ON_QUERY " >" VCD_DMIDECODE_CAPTURE;
inline constexpr const char* AdministratorPasswordQuery = VCD_ADMINISTRATOR_QUERY " >" VCD_DMIDECODE_CAPTURE;
inline constexpr const char* HardDiskPasswordQuery = VCD_HARD_DISK_QUERY " > " VCD_DMIDECODE_CAPTURE;
inline constexpr const char* RemoveDmidecodeCapture = "rm " VCD_DMIDECODE_CAPTURE;

// The shell text each query runs, its output going to the capture file the daemon opens itself.
inline constexpr const char* PowerOnPasswordProgram = VCD_POWER_ON_QUERY;
inline constexpr const char* AdministratorPasswordProgram = VCD_ADMINISTRATOR_QUERY;
inline constexpr const char* HardDiskPasswordProgram = VCD_HARD_DISK_QUERY;

} // namespace VcdProtocol
