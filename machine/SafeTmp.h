// Fixed names in the shared, sticky /tmp that our own command lines write and we read back.
//
// Any local user can put something at such a name first: a link to a file of ours, a FIFO, a file
// they keep writable. Before a command line's ">" opens the name, it is made a new regular file of
// the user who will write it; nobody else can remove or swap it in a sticky directory afterwards.
// Reading back takes only a regular file of the writer's (or root's), never through a link and
// never waiting on a FIFO.
#pragma once

#include "machine/Host.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <sys/types.h>

namespace Ucomtc {

// Makes `path` a new, empty regular file (created O_CREAT|O_EXCL|O_NOFOLLOW, mode 0666 less the
// umask, as the shell would), handed to `owner` when that is not ourselves. The paths are whole:
// the fixed names in /tmp for the program, names in a test's own folder for the tests. What stood there is
// removed, a directory renamed away, never followed; false when it cannot be (another user's entry, for
// anyone but root) or when someone keeps planting a new one.
bool MakeFreshFile(const QString& path, FileOwner owner);

// The content of `path` when it is a regular file owned by `writer`, by root or by ourselves; no
// link is followed and a FIFO never blocks. Anything else reads as missing; a file that is not
// there or cannot be read throws IoError.
std::optional<QByteArray> ReadOwnedFile(const QString& path, uid_t writer);

} // namespace Ucomtc
