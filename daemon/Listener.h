// The daemon's listening socket at a path in the file system.
#pragma once

#include <string>
#include <sys/types.h>

namespace Vcd {

class Listener
{
public:
    // Puts a listening socket of mode 0666 (every local user may connect) at `path` in one step:
    // made under an unguessable name beside it, then renamed over whatever stands there (never
    // followed; a directory is exchanged with it and so renamed aside). Throws std::runtime_error
    // when that is not possible.
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
