// The daemon under test, started from its built executable on a socket path of the test's choice.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace VcdTest {

inline constexpr const char* TestSocket = "/tmp/vcd-test.sock";
inline constexpr const char* DaemonLog = "/tmp/vcd-test.log";

class DaemonProcess
{
public:
    // Starts the daemon with a deliberately odd environment and umask, so that tests can see that
    // none of it reaches the commands or the socket's mode; waits until it listens.
    explicit DaemonProcess(std::vector<std::string> extraArguments = {}, mode_t umask = 022);
    ~DaemonProcess();
    DaemonProcess(const DaemonProcess&) = delete;
    DaemonProcess& operator=(const DaemonProcess&) = delete;

    bool listening() const { return listening_; }
    bool running();
    // Sends SIGTERM and waits (unless it has already ended); its exit status, or -1 when it did not
    // exit normally.
    int stop();
    pid_t pid() const { return pid_; }
    std::string log() const;
    // The daemon's peak resident memory in KiB, from /proc.
    long peakResidentKiB() const;

private:
    void ended(int status);

    pid_t pid_ = -1;
    int exitStatus_ = -1;
    bool listening_ = false;
};

} // namespace VcdTest
