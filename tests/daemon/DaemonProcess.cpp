#include "DaemonProcess.h"

#include "FakeTools.h"
#include "Sandbox.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace VcdTest {

DaemonProcess::DaemonProcess(std::vector<std::string> extraArguments, mode_t umask)
{
    std::vector<std::string> arguments = {"lapstone-vcd", "--socket", TestSocket};
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::string path = "PATH=/tmp/client-bin:/nonexistent";
    std::string locale = "LC_ALL=xx_XX.UTF-8";
    std::string secret = "VCD_TEST_CLIENT_SECRET=leaked";
    char* envp[] = {path.data(), locale.data(), secret.data(), nullptr};

    pid_ = ::fork();
    if (pid_ == 0) {
        const int log = ::open(DaemonLog, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (log < 0 || ::dup2(log, STDERR_FILENO) < 0)
            ::_exit(126);
        ::umask(umask);
        ::fexecve(DaemonExecutable(), argv.data(), envp);
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
        struct stat info;
        if (::lstat(TestSocket, &info) == 0 && S_ISSOCK(info.st_mode) &&
            log().find("listening on") != std::string::npos) {
            listening_ = true;
            return;
        }
        if (!running())
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

DaemonProcess::~DaemonProcess()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

bool DaemonProcess::running()
{
    if (pid_ <= 0)
        return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == 0)
        return true;
    ended(status);
    return false;
}

void DaemonProcess::ended(int status)
{
    pid_ = -1;
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int DaemonProcess::stop()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        ended(status);
    }
    return exitStatus_;
}

std::string DaemonProcess::log() const
{
    return ReadFile(DaemonLog);
}

long DaemonProcess::peakResidentKiB() const
{
    std::istringstream status(ReadFile("/proc/" + std::to_string(pid_) + "/status"));
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

} // namespace VcdTest
