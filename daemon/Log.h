// One line per request on standard error (the journal, under systemd), within limits no user can
// flood.
#pragma once

#include "Peer.h"

#include <string_view>

namespace Vcd {

// A request carried out. `command` is a line of the table or empty for a request that matched
// none; a client's own bytes are never logged, so nobody can forge log lines through us. At most
// ten lines a second are written for one user (with all their uids); their next line written says
// how many were left out.
void LogRequest(const Peer& peer, std::string_view command, std::string_view outcome);

// A connection refused or dropped before its command ran: turned away, a request refused, a client
// that went silent or away. Whoever makes these can make them as fast as they can connect, from
// as many user ids as they hold, so at most a few such lines a second are written, whoever they
// are about; the next line written says how many were left out.
void LogRefusal(const Peer& peer, std::string_view command, std::string_view outcome);

// A start-up or fatal message.
void LogMessage(std::string_view text);

} // namespace Vcd
