// Who is on the other end of a connection, as the kernel saw it at connect time.
#pragma once

#include <sys/types.h>

namespace Vcd {

struct Peer
{
    pid_t pid = 0;
    uid_t uid = 0;
    gid_t gid = 0;
    // The user behind the uid: the owner of the subordinate range the uid lies in, else the uid
    // itself (RealUsers). Shares, waits and the log are counted by it.
    uid_t user = 0;
};

} // namespace Vcd
