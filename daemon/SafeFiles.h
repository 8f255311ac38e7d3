// File operations that stay safe with root rights in a directory every user can write to.
//
// None of them follows a symbolic link at the final name or writes into a file that someone else
// put there; the capture directory itself is opened once per operation and must belong to root.
#pragma once

#include "Peer.h"

#include <chrono>
#include <string_view>

namespace Vcd {

// A new, empty regular file `name` in `directory`, mode 0600 and owned by the peer, open for
// writing. Whatever stood at the name before (a file, link, FIFO or socket) is unlinked, never
// opened. Another user's regular file younger than `liveAge` is left alone, and for anyone but
// root so is every entry of root's. Returns the descriptor, or -1 when no such file could be made
// (a directory in the way, a live capture of another user, root's file, a directory not owned by
// root, ...).
int CreateCaptureFile(const char* directory, std::string_view name, const Peer& owner,
                      std::chrono::milliseconds liveAge);

// Removes `name` from `directory` when it is a regular file that the peer may remove: one of its
// own, or any when the peer is root. Never removes a link's target.
bool RemoveCaptureFile(const char* directory, std::string_view name, const Peer& requester);

// Writes `value` into an existing regular file at `path`, as a sysfs attribute expects: one write,
// no creation, no link followed at the last component. False unless every byte was accepted.
bool WriteAttribute(const char* path, std::string_view value);

} // namespace Vcd
