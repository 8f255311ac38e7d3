// The bytes on the daemon's socket.
//
// A request is a 4-byte length word n in host byte order, then n bytes: the command line and its
// NUL. The reply is one 4-byte word in host byte order, sent once the command has finished.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Vcd {

inline constexpr const char* DefaultSocketPath = "/tmp/vx_vc_socket";

// The longest command line we carry out is well under 100 bytes; anything beyond this bound is
// refused from the length word alone, so a client cannot make us allocate or wait for more.
inline constexpr std::uint32_t MaxRequestLength = 4096;
inline constexpr std::size_t LengthWordSize = sizeof(std::uint32_t);

inline constexpr std::uint32_t ReplyDone = 0;
inline constexpr std::uint32_t ReplyFailed = 1;

} // namespace Vcd
