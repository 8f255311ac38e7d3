// The process-wide constants: the fixed names under /tmp that capture and scratch files take, the
// daemon's socket and the files its commands name, and what the seam itself says. Every layer above
// protocol/ reads them; each area keeps its own paths, command lines and texts beside it.
#pragma once

#include "protocol/DaemonProtocol.h"

namespace Ucomtc {

inline constexpr const char* StateCaptureFile = "/tmp/state";
inline constexpr const char* InfoCaptureFile = "/tmp/info";
inline constexpr const char* CommandCaptureFile = "/tmp/command";
inline constexpr const char* KpowersaveCaptureFile = "/tmp/kpowersave";
inline constexpr const char* NubstickCaptureFile = "/tmp/nubstick";
inline constexpr const char* TouchpadCaptureFile = "/tmp/touchpad";
inline constexpr const char* MemCaptureFile = "/tmp/mem";
// The capture home removes each capture with "rm " and its path (machine/Capture.h).
static_assert(VcdProtocol::Check::Joins("rm /tmp/mem", "rm ", MemCaptureFile));
inline constexpr const char* KpowersavercScratchFile = "/tmp/kpowersaverc";
inline constexpr const char* XorgConfigScratchFile = "/tmp/xorgconfig";
// GNOME's colour scheme, read once at start.
inline constexpr const char* ColorSchemeCaptureFile = "/tmp/colorscheme";

// What a value shows that could not be read: never a guess, never a blank.
inline constexpr const char* UnknownText = "Unknown";

// Not part of the table above: the daemon's socket and the files its commands name, shared with the
// daemon through its protocol header.
inline constexpr const char* DaemonSocketPath = VcdProtocol::SocketPath;
inline constexpr const char* StoredDmiFile = VcdProtocol::StoredDmiFile;
inline constexpr const char* DmidecodeCaptureFile = VcdProtocol::DmidecodeCaptureFile;

inline constexpr const char* MsgDaemonNotStarted =
    "The daemon isn't started, maybe the non-root users can't view some infomation of the "
    "LapstoneConfiguration";

// Follows the path of a fixed /tmp name that another user holds, when the step that writes it
// could not run.
inline constexpr const char* MsgInTheWay = " is in the way";

} // namespace Ucomtc
