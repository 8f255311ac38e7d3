// The client side of the privileged daemon's protocol.
//
// One request per connection: a 4-byte length word n in host byte order, then n bytes (the command
// line and its NUL). The daemon answers with one 4-byte word once the command has finished; 1 means
// failure.
#pragma once

#include "Host.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace Ucomtc {

inline constexpr const char* MsgDaemonNotStarted =
    "The daemon isn't started, maybe the non-root users can't view some infomation of the "
    "LapstoneConfiguration";

// Writes one request on a connected socket: the length word, then the command with its NUL.
void SendCommand(int socket, const QByteArray& command);

// The daemon's answer for `command` on `socketPath`, using `host` for the user id, for root's direct
// run and for the unreachable-daemon message. A reply that does not arrive in full within
// `replyTimeoutMs` counts as failure.
bool RunPrivilegedThrough(Host& host, const QString& socketPath, const QString& command, int replyTimeoutMs);

// The same request in two halves: connects and sends now; the returned call waits for the reply (or
// shows the unreachable-daemon message) and gives RunPrivilegedThrough's result. For root the whole
// command runs when the returned call is made.
std::function<bool()> StartPrivilegedThrough(Host& host, const QString& socketPath, const QString& command,
                                             int replyTimeoutMs);

} // namespace Ucomtc
