// A private world for each test: the daemon's fixed paths (/tmp, /usr/sbin, the pointing stick's
// sysfs directory) are fresh tmpfs mounts in a mount namespace of the test's own, so tests never
// meet the machine's files, its hardware or each other, even under "ctest -j".
#pragma once

#include <string>

namespace VcdTest {

// Enters a private mount namespace once per process (with a user namespace when not root). Empty
// when that worked, otherwise why not; tests then skip.
const std::string& EnterPrivateNamespace();

// True when the test may switch to other user ids (real root, not a mapped user namespace).
bool CanSwitchUsers();

// The daemon's executable, opened before any mount could hide it.
int DaemonExecutable();

// Empty tmpfs mounts over the daemon's fixed paths for the lifetime of the object.
class ScratchMounts
{
public:
    ScratchMounts();
    ~ScratchMounts();
    ScratchMounts(const ScratchMounts&) = delete;
    ScratchMounts& operator=(const ScratchMounts&) = delete;

    // Empty when every mount is in place.
    const std::string& error() const { return error_; }

private:
    int mounted_ = 0;
    std::string error_;
};

inline constexpr const char* RateDirectory = "/sys/devices/platform/i8042/serio0/serio2";
inline constexpr const char* RatePath = "/sys/devices/platform/i8042/serio0/serio2/rate";

} // namespace VcdTest
