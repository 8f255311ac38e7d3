#include "Sandbox.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace VcdTest {
namespace {

// Mounted in this order, unmounted in reverse.
constexpr std::array<const char*, 3> Covered = {"/tmp", "/usr/sbin", "/sys/devices/platform"};
constexpr std::array<const char*, 3> Modes = {"mode=1777", "mode=0755", "mode=0755"};

bool WriteFile(const char* path, const std::string& text)
{
    std::ofstream out(path);
    out << text;
    return static_cast<bool>(out.flush());
}

std::string Enter()
{
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::geteuid() == 0) {
        if (::unshare(CLONE_NEWNS) != 0)
            return std::string("cannot make a mount namespace: ") + std::strerror(errno);
    } else {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return std::string("not root and no user namespaces: ") + std::strerror(errno);
        if (!WriteFile("/proc/self/setgroups", "deny") ||
            !WriteFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !WriteFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
            return "cannot map root in the user namespace";
    }
    // Nothing we mount may reach the machine's own namespace.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return std::string("cannot make the mounts private: ") + std::strerror(errno);
    return {};
}

} // namespace

const std::string& EnterPrivateNamespace()
{
    static const std::string why = [] {
        DaemonExecutable();
        return Enter();
    }();
    return why;
}

bool CanSwitchUsers()
{
    // Only an unmapped root may become uid 65534; in a user namespace that id has no mapping.
    static const bool can = [] {
        std::ifstream map("/proc/self/uid_map");
        std::string inside, outside;
        map >> inside >> outside;
        return ::geteuid() == 0 && inside == "0" && outside == "0";
    }();
    return can;
}

int DaemonExecutable()
{
    static const int fd = ::open(LAPSTONE_VCD_PATH, O_PATH | O_CLOEXEC);
    return fd;
}

ScratchMounts::ScratchMounts()
{
    for (std::size_t i = 0; i < Covered.size(); ++i) {
        if (::mount("vcd-test", Covered[i], "tmpfs", MS_NOSUID | MS_NODEV, Modes[i]) != 0) {
            error_ = std::string("cannot mount a tmpfs on ") + Covered[i] + ": " + std::strerror(errno);
            return;
        }
        ++mounted_;
    }
    std::string directory;
    for (const char* part : {"/i8042", "/serio0", "/serio2"}) {
        directory = (directory.empty() ? std::string("/sys/devices/platform") : directory) + part;
        if (::mkdir(directory.c_str(), 0755) != 0)
            error_ = "cannot make " + directory;
    }
}

ScratchMounts::~ScratchMounts()
{
    while (mounted_ > 0)
        ::umount2(Covered[static_cast<std::size_t>(--mounted_)], MNT_DETACH);
}

} // namespace VcdTest
