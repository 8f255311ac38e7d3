// One line per request on standard error (the journal, under systemd).
#pragma once

#include "Peer.h"

#include <string_view>

namespace Vcd {

// `command` is a line of the table or empty for a request that matched none; a client's own bytes
// are never logged, so nobody can forge log lines through us.
void LogRequest(const Peer& peer, std::string_view command, std::string_view outcome);

// A connection turned away before its request was read. At most a few such lines a second are
// written, so that a flood of connections cannot flood the journal; the next line written says how
// many were left out.
void LogRefusedConnection(const Peer& peer, std::string_view why);

// A start-up or fatal message.
void LogMessage(std::string_view text);

} // namespace Vcd
