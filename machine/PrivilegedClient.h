// The client side of the privileged daemon's protocol (protocol/DaemonProtocol.h).
//
// One request per connection: a 4-byte length word n in host byte order, then n bytes (the command
// line and its NUL). The daemon answers with one 4-byte word once the command has finished; 1 means
// failure.
#pragma once

#include "machine/Host.h"

#include <QByteArray>
#include <QString>

namespace Ucomtc {

// Writes one request on a connected socket: the length word, then the command with its NUL.
void SendCommand(int socket, const QByteArray& command);

// The daemon's answer for `command` on `socketPath`. Only a listener of root's is the daemon. The
// whole exchange, connecting included, gives up after `timeoutMs`: a connection that is not
// accepted in time counts as no daemon, a reply that does not arrive in full as failure.
DaemonAnswer AskDaemonAt(const QString& socketPath, const QString& command, int timeoutMs);

} // namespace Ucomtc
