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

#include <string_view>

namespace VcdProtocol {

inline constexpr const char* SocketPath = "/tmp/vx_vc_socket";

// The longest command line the daemon carries out is well under 100 bytes; anything beyond this
// bound is refused from the length word alone, so a client cannot make it allocate or wait for more.
inline constexpr std::uint32_t MaxRequestLength = 4096;
inline constexpr std::size_t LengthWordSize = sizeof(std::uint32_t);

inline constexpr std::uint32_t ReplyDone = 0;
inline constexpr std::uint32_t ReplyFailed = 1;

// The capture files the daemon writes as root, and the sysfs attribute it writes.
inline constexpr const char* StoredDmiFile = "/tmp/StoredDmi";
inline constexpr const char* DmidecodeCaptureFile = "/tmp/dmidecode";
inline constexpr const char* PointingStickRate = "/sys/devices/platform/i8042/serio0/serio2/rate";

// The nine command lines, byte for byte as the program sends them (the blanks around ">" differ
// from line to line, and the daemon matches them exactly). Written out whole so that each can be
// found by searching for it; the checks below keep them in step with the paths above.
inline constexpr const char* DumpToStoredDmi = "/usr/sbin/dmidecode > /tmp/StoredDmi";
inline constexpr const char* DumpToStoredDmiByPath = "dmidecode > /tmp/StoredDmi";
inline constexpr const char* RemoveStoredDmi = "rm /tmp/StoredDmi";
inline constexpr const char* RateOff = "echo -n 0 > /sys/devices/platform/i8042/serio0/serio2/rate";
inline constexpr const char* RateOn = "echo -n 100 > /sys/devices/platform/i8042/serio0/serio2/rate";
inline constexpr const char* PowerOnPasswordQuery =
    "/usr/sbin/dmidecode | grep Power-On | gawk '{print $4}' >/tmp/dmidecode";
inline constexpr const char* AdministratorPasswordQuery =
    "/usr/sbin/dmidecode | grep Administrator | gawk '{print $4}' >/tmp/dmidecode";
inline constexpr const char* HardDiskPasswordQuery =
    "/usr/sbin/dmidecode | grep 84 |  grep 07 | gawk '{print $6}' > /tmp/dmidecode";
inline constexpr const char* RemoveDmidecodeCapture = "rm /tmp/dmidecode";

// The shell text each query runs, its output going to the capture file the daemon opens itself.
inline constexpr const char* PowerOnPasswordProgram =
    "/usr/sbin/dmidecode | grep Power-On | gawk '{print $4}'";
inline constexpr const char* AdministratorPasswordProgram =
    "/usr/sbin/dmidecode | grep Administrator | gawk '{print $4}'";
inline constexpr const char* HardDiskPasswordProgram =
    "/usr/sbin/dmidecode | grep 84 |  grep 07 | gawk '{print $6}'";

namespace Check {
// line == head + middle + tail, at compile time.
constexpr bool Joins(std::string_view line, std::string_view head, std::string_view middle,
                     std::string_view tail = {})
{
    return line.size() == head.size() + middle.size() + tail.size() && line.starts_with(head) &&
           line.substr(head.size(), middle.size()) == middle && line.ends_with(tail);
}
static_assert(Joins(DumpToStoredDmi, "/usr/sbin/dmidecode > ", StoredDmiFile));
static_assert(Joins(DumpToStoredDmiByPath, "dmidecode > ", StoredDmiFile));
static_assert(Joins(RemoveStoredDmi, "rm ", StoredDmiFile));
static_assert(Joins(RateOff, "echo -n 0 > ", PointingStickRate));
static_assert(Joins(RateOn, "echo -n 100 > ", PointingStickRate));
static_assert(Joins(PowerOnPasswordQuery, PowerOnPasswordProgram, " >", DmidecodeCaptureFile));
static_assert(Joins(AdministratorPasswordQuery, AdministratorPasswordProgram, " >", DmidecodeCaptureFile));
static_assert(Joins(HardDiskPasswordQuery, HardDiskPasswordProgram, " > ", DmidecodeCaptureFile));
static_assert(Joins(RemoveDmidecodeCapture, "rm ", DmidecodeCaptureFile));
} // namespace Check

} // namespace VcdProtocol
