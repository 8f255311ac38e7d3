// The daemon's listening socket at a path in the file system.
#pragma once

#include <string>
#include <sys/types.h>

namespace Vcd {

class Listener
{
public:
    // Replaces whatever stands at `path` (unlinked, a directory renamed away; never followed) with a socket
    // of mode 0666: every local user may connect. Throws std::runtime_error when that is not possible.
    explicit Listener(const std::string& path);
    // Unlinks the path, but only while it is still the socket this object made.
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    int fd() const { return fd_; }

private:
    [[noreturn]] void CloseAndFail(const std::string& what, const std::string& path);

    std::string path_;
    int fd_ = -1;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

} // namespace Vcd
