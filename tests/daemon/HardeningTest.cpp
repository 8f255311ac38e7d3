// What other local users can put in the daemon's way: entries at the socket path and the capture
// names, floods of idle connections, a live capture of someone else's.
#include "CommandLines.h"
#include "DaemonTest.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace VcdTest {
namespace {

constexpr uid_t Attacker = 1001;
constexpr uid_t Victim = 1002;

struct stat Lstat(const char* path)
{
    struct stat info
    {
    };
    ::lstat(path, &info);
    return info;
}

class Hardening : public DaemonTest
{
protected:
    bool startsDaemon() const override { return false; }
};

TEST_F(Hardening, DirectoryOrFifoAtTheSocketPathIsMovedAsideAndTheDaemonListens)
{
    ASSERT_EQ(::mkdir(TestSocket, 0777), 0);
    WriteFile(std::string(TestSocket) + "/kept", "kept\n");
    // The names an unseeded random() gives, planted for the pids the daemon may get next: none of
    // them may keep it from listening.
    const int pidMax = std::stoi(ReadFile("/proc/sys/kernel/pid_max"));
    const int lastPid = std::stoi(ReadFile("/proc/sys/kernel/ns_last_pid"));
    for (int pid = lastPid + 1; pid <= lastPid + 2048; ++pid) {
        for (const char* random : {"1804289383", "846930886", "1681692777", "1714636915"})
            ::mkdir((TestSocket + (".away-" + std::to_string(pid % pidMax) + "-") + random).c_str(), 0);
    }
    StartDaemon();
    EXPECT_TRUE(S_ISSOCK(Lstat(TestSocket).st_mode));
    EXPECT_TRUE(AskLine(RateOff).isReply(0));
    daemon_->stop();
    // Renamed, never emptied: what the directory held is still there under its new name.
    EXPECT_EQ(::system((std::string("grep -q kept ") + TestSocket + ".away-*/kept").c_str()), 0);

    ::unlink(TestSocket);
    ASSERT_EQ(::mkfifo(TestSocket, 0666), 0);
    StartDaemon();
    EXPECT_TRUE(S_ISSOCK(Lstat(TestSocket).st_mode));
    EXPECT_TRUE(AskLine(RateOff).isReply(0));
}

TEST_F(Hardening, FifoAtEachCaptureNameIsReplacedDirectoryRefused)
{
    StartDaemon();
    for (const CaptureCase& capture : CaptureCommands) {
        SCOPED_TRACE(capture.line);
        ::unlink(capture.path);
        ::rmdir(capture.path);
        ASSERT_EQ(::mkfifo(capture.path, 0666), 0);
        const Answer answer = AskLine(capture.line);
        EXPECT_TRUE(answer.isReply(0));
        EXPECT_LT(answer.elapsed.count(), 5000.0);
        EXPECT_TRUE(S_ISREG(Lstat(capture.path).st_mode));

        ::unlink(capture.path);
        ASSERT_EQ(::mkdir(capture.path, 0777), 0);
        EXPECT_TRUE(AskLine(capture.line).isReply(1));
        EXPECT_TRUE(S_ISDIR(Lstat(capture.path).st_mode));
        ::rmdir(capture.path);
    }
}

TEST_F(Hardening, ALiveCaptureOfAnotherUserIsNotPulledAway)
{
    if (!CanSwitchUsers())
        GTEST_SKIP() << "needs real root to act as other users";
    StartDaemon();
    const auto first = AskAs(Victim, Victim, TestSocket, Request(DumpToStoredDmi));
    ASSERT_TRUE(first.has_value() && first->isReply(0));
    const ino_t live = Lstat("/tmp/StoredDmi").st_ino;
    const auto second = AskAs(Attacker, Attacker, TestSocket, Request(DumpToStoredDmi));
    ASSERT_TRUE(second.has_value());
    EXPECT_TRUE(second->isReply(1));
    EXPECT_EQ(Lstat("/tmp/StoredDmi").st_ino, live);
    EXPECT_EQ(Lstat("/tmp/StoredDmi").st_uid, Victim);

    // Once its age is past, it no longer holds the name.
    daemon_->stop();
    StartDaemon({"--live-capture-age", "0"});
    const auto later = AskAs(Attacker, Attacker, TestSocket, Request(DumpToStoredDmi));
    ASSERT_TRUE(later.has_value());
    EXPECT_TRUE(later->isReply(0));
    EXPECT_EQ(Lstat("/tmp/StoredDmi").st_uid, Attacker);
}

TEST_F(Hardening, RootsFreshCaptureIsNeitherRemovedNorReplacedForAnotherUser)
{
    if (!CanSwitchUsers())
        GTEST_SKIP() << "needs real root to act as other users";
    StartDaemon();
    std::vector<std::pair<std::string_view, const char*>> cases = {
        {RemoveStoredDmi, VcdProtocol::StoredDmiFile}, {RemoveDmidecode, VcdProtocol::DmidecodeCaptureFile}};
    for (const CaptureCase& capture : CaptureCommands)
        cases.emplace_back(capture.line, capture.path);
    for (const auto& [line, path] : cases) {
        SCOPED_TRACE(line);
        // The attacker holds back the final NUL until root has made the name its own, as the
        // program running as root does before it writes there.
        const std::string request = Request(line);
        const auto held = ConnectAs(Attacker, Attacker, TestSocket);
        ASSERT_TRUE(held->send(request.substr(0, request.size() - 1)));
        ::unlink(path);
        ASSERT_EQ(::close(::open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600)), 0);
        const ino_t roots = Lstat(path).st_ino;
        ASSERT_TRUE(held->send(request.substr(request.size() - 1)));
        EXPECT_TRUE(held->await(std::chrono::seconds(5)).isReply(1));
        EXPECT_EQ(Lstat(path).st_ino, roots);
        EXPECT_EQ(Lstat(path).st_uid, 0u);
    }
}

// Holds `count` idle connections as the attacker until killed; writes one byte once all are open.
pid_t HoldConnections(int count, int ready)
{
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    rlimit files{static_cast<rlim_t>(count + 64), static_cast<rlim_t>(count + 64)};
    if (::setrlimit(RLIMIT_NOFILE, &files) != 0 || ::setgroups(0, nullptr) != 0 ||
        ::setresgid(Attacker, Attacker, Attacker) != 0 || ::setresuid(Attacker, Attacker, Attacker) != 0)
        _exit(1);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, TestSocket);
    std::vector<int> held;
    for (int i = 0; i < count; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            held.push_back(fd);
        else if (fd >= 0)
            ::close(fd);
    }
    const char done = 'r';
    if (::write(ready, &done, 1) != 1)
        _exit(2);
    for (;;)
        ::pause();
}

TEST_F(Hardening, OneUsersIdleConnectionsDoNotDelayAnother)
{
    if (!CanSwitchUsers())
        GTEST_SKIP() << "needs real root to act as other users";
    StartDaemon();
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t holder = HoldConnections(2000, pipeFds[1]);
    ASSERT_GT(holder, 0);
    ::close(pipeFds[1]);
    char ready = 0;
    ASSERT_EQ(::read(pipeFds[0], &ready, 1), 1);
    ::close(pipeFds[0]);

    const auto answer = AskAs(Victim, Victim, TestSocket, Request(RateOn));
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ASSERT_TRUE(answer.has_value());
    EXPECT_TRUE(answer->isReply(0));
    EXPECT_LT(answer->elapsed.count(), 1000.0);

    // The turned-away connections are logged, but only a few lines a second.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const std::string log = daemon_->log();
    std::size_t lines = 0;
    for (std::size_t at = log.find("too many connections"); at != std::string::npos;
         at = log.find("too many connections", at + 1))
        ++lines;
    EXPECT_GE(lines, 1u) << log;
    EXPECT_LE(lines, 30u) << log;
}

} // namespace
} // namespace VcdTest
