// File operations that stay safe with root rights in a directory every user can write to.
//
// None of them follows a symbolic link at the final name or writes into a file that someone else
// put there; the capture directory itself is opened once per operation and must belong to root.
#pragma once

#include "Peer.h"

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace Vcd {

// The last capture handed over at each name, kept by the one thread that writes captures.
struct HandOver
{
    uid_t uid = 0;
    uid_t user = 0;
    dev_t device = 0;
    ino_t inode = 0;
    std::chrono::steady_clock::time_point at;
};
using HandOvers = std::map<std::string, HandOver, std::less<>>;

// Writes a capture for `owner` and hands it over at `name` in `directory`. `write` fills a new,
// empty regular file of the owner's (mode 0600) under an unguessable name beside `name`; only once
// it has returned true is that file renamed to `name`, in one step: whatever stood there (a file,
// link, FIFO or socket, of anyone's) is replaced, never opened, and another user's directory is
// exchanged with it and so kept, untouched, under the unguessable name. The name is never free in
// between. The requester's own directory there, and for anyone but root every entry of root's,
// fail the request before `write` runs. A capture we handed over to another user within
// `stand` keeps its name until then: we wait, so its owner can read it. False when no capture was
// handed over; nothing half-written is ever left at `name`.
bool WriteCapture(const char* directory, std::string_view name, const Peer& owner,
                  std::chrono::milliseconds stand, HandOvers& handOvers,
                  const std::function<bool(int fd)>& write);

// Removes `name` from `directory` when it is a regular file that the peer may remove: one of its
// own, or any when the peer is root. Never removes a link's target.
bool RemoveCaptureFile(const char* directory, std::string_view name, const Peer& requester);

// Writes `value` into an existing regular file at `path`, as a sysfs attribute expects: one write,
// no creation, no link followed at the last component. False unless every byte was accepted.
bool WriteAttribute(const char* path, std::string_view value);

// `path` and ".away-" with 16 hex digits from the kernel's random source: a name beside the path
// that nobody can guess, so nobody can plant something there beforehand.
bool StagingName(const std::string& path, std::string& name);

// Renames `staging` to `path` (both under `directory`, a descriptor or AT_FDCWD) over whatever
// stands there, without following anything: a file, link, FIFO or socket is replaced; a directory,
// which rename cannot replace, is exchanged with it (RENAME_EXCHANGE) and so ends up at `staging`,
// never emptied. The path is never free in between, so nobody can take it from us.
bool MoveIntoPlace(int directory, const char* staging, const char* path);

} // namespace Vcd
