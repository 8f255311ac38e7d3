// The bytes on the daemon's socket, as the daemon's code names them; the protocol itself is shared
// with the program in DaemonProtocol.h.
#pragma once

#include "protocol/DaemonProtocol.h"

namespace Vcd {

inline constexpr const char* DefaultSocketPath = VcdProtocol::SocketPath;
using VcdProtocol::LengthWordSize;
using VcdProtocol::MaxRequestLength;
using VcdProtocol::ReplyDone;
using VcdProtocol::ReplyFailed;

} // namespace Vcd
