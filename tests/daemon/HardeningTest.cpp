// What other local users can put in the daemon's way: entries at the socket path and the capture
// names, floods of idle connections, a live capture of someone else's.
#include "CommandLines.h"
#include "DaemonTest.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <iostream>
#include <poll.h>
#include <sstream>
#include <sys/mount.h>
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
    struct stat info = {};
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

TEST_F(Hardening, ALiveCaptureOfAnotherUserStandsItsMomentThenGivesWay)
{
    if (!CanSwitchUsers())
        GTEST_SKIP() << "needs real root to act as other users";
    StartDaemon({"--live-capture-age", "2000"});
    const auto first = AskAs(Victim, Victim, TestSocket, Request(DumpToStoredDmi));
    ASSERT_TRUE(first.has_value() && first->isReply(0));
    const ino_t live = Lstat("/tmp/StoredDmi").st_ino;
    const auto second = ConnectAs(Attacker, Attacker, TestSocket);
    ASSERT_TRUE(second->send(Request(DumpToStoredDmi)));
    // The victim reads theirs meanwhile; the attacker's is handed over after its moment.
    EXPECT_EQ(second->await(std::chrono::milliseconds(300)).kind, Answer::Kind::NoAnswer);
    EXPECT_EQ(Lstat("/tmp/StoredDmi").st_ino, live);
    EXPECT_EQ(Lstat("/tmp/StoredDmi").st_uid, Victim);
    EXPECT_TRUE(second->await(std::chrono::seconds(5)).isReply(0));
    EXPECT_EQ(Lstat("/tmp/StoredDmi").st_uid, Attacker);
}

TEST_F(Hardening, NoEntryOfAnotherUserAtACaptureNameKeepsTheCaptureFromItsRequester)
{
    if (!CanSwitchUsers())
        GTEST_SKIP() << "needs real root to act as other users";
    StartDaemon();
    for (const bool directory : {true, false}) {
        for (const CaptureCase& capture : CaptureCommands) {
            SCOPED_TRACE(std::string(capture.line) +
                         (directory ? " past a directory" : " past a young file"));
            // The attacker's entry of a moment before: one mkdir, or a file made anew all the time.
            ASSERT_EQ(directory ? ::mkdir(capture.path, 0777) : ::close(::creat(capture.path, 0644)), 0);
            ASSERT_EQ(::chown(capture.path, Attacker, Attacker), 0);
            const auto answer = AskAs(Victim, Victim, TestSocket, Request(capture.line));
            EXPECT_TRUE(answer && answer->isReply(0));
            EXPECT_EQ(Lstat(capture.path).st_uid, Victim);
            EXPECT_EQ(ReadFile(capture.path), capture.expected ? capture.expected : FakeDump);
            ::unlink(capture.path);
        }
    }
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

// The user ids of one user's subordinate range (as newuidmap hands out), beside their own.
constexpr uid_t FirstSubordinate = 200000;

// Holds `perUid` connections for each of `uids` user ids (the attacker's own, then ids of a
// subordinate range) for a minute at most, connecting again, and sending `request` again if there is
// one, whenever the daemon answers, drops or turns one away. Returns once all are open.
pid_t HoldConnections(int uids, int perUid, const std::string& request = {})
{
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child != 0) {
        char done = 0;
        const bool up = ::close(ready[1]) == 0 && ::read(ready[0], &done, 1) == 1;
        ::close(ready[0]);
        return up ? child : -1;
    }
    const auto count = static_cast<rlim_t>(uids * perUid);
    rlimit files{count + 64, count + 64};
    if (::setrlimit(RLIMIT_NOFILE, &files) != 0 || ::setgroups(0, nullptr) != 0)
        _exit(1);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, TestSocket);
    std::vector<pollfd> held(count);
    const auto connect = [&](std::size_t i) {
        const uid_t uid = i < static_cast<std::size_t>(perUid) ? Attacker : FirstSubordinate + i / perUid;
        if (::setegid(uid) != 0 || ::seteuid(uid) != 0)
            _exit(1);
        // Not waiting on a full listen queue: the attempt is then polled as hung up and made again.
        held[i] = {::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0), POLLIN, 0};
        ::connect(held[i].fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        ::send(held[i].fd, request.data(), request.size(), MSG_NOSIGNAL);
        if (::seteuid(0) != 0 || ::setegid(0) != 0)
            _exit(1);
    };
    for (std::size_t i = 0; i < held.size(); ++i)
        connect(i);
    const char done = 'r';
    if (::write(ready[1], &done, 1) != 1)
        _exit(2);
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
         std::chrono::steady_clock::now() < end;) {
        ::poll(held.data(), held.size(), 1000);
        for (std::size_t i = 0; i < held.size(); ++i) {
            if (held[i].revents != 0) {
                ::close(held[i].fd);
                connect(i);
            }
        }
    }
    _exit(0);
}

std::size_t RefusalLines(const std::string& log)
{
    std::istringstream lines(log);
    std::size_t count = 0;
    for (std::string line; std::getline(lines, line);)
        count += line.find(" outcome=refused") != std::string::npos ||
                 line.find(" outcome=dropped") != std::string::npos;
    return count;
}

TEST_F(Hardening, IdleConnectionsOfOneUserOrOfManyUidsDoNotDelayAnother)
{
    if (!CanSwitchUsers())
        GTEST_SKIP() << "needs real root to act as other users";
    StartDaemon();
    const auto start = std::chrono::steady_clock::now();
    for (const auto& [uids, perUid] : {std::pair{1, 2000}, {300, 10}, {900, 10}}) {
        SCOPED_TRACE(std::to_string(uids) + " uids x " + std::to_string(perUid));
        const pid_t holder = HoldConnections(uids, perUid);
        ASSERT_GT(holder, 0);
        const auto answer = AskAs(Victim, Victim, TestSocket, Request(RateOn));
        ::kill(holder, SIGKILL);
        ::waitpid(holder, nullptr, 0);
        ASSERT_TRUE(answer.has_value());
        EXPECT_TRUE(answer->isReply(0));
        EXPECT_LT(answer->elapsed.count(), 1500.0);
        std::cout << "beside " << uids << " uids x " << perUid << " silent connections answered in "
                  << answer->elapsed.count() << " ms\n";
    }

    // What was turned away or dropped is logged, but only a few lines a second.
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    const std::string log = daemon_->log();
    EXPECT_NE(log.find("too many connections"), std::string::npos) << log;
    EXPECT_LE(RefusalLines(log), 5 * (spent.count() + 2)) << log;
}

TEST_F(Hardening, RequestsWithoutPauseFromTheUidsOfOneUserLeaveAnotherServed)
{
    if (!CanSwitchUsers())
        GTEST_SKIP() << "needs real root to act as other users";
    // The attacker's subordinate range, as useradd gives it out.
    WriteFile("/tmp/subuid", "1001:" + std::to_string(FirstSubordinate) + ":65536\n");
    if (::mount("/tmp/subuid", "/etc/subuid", nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "no /etc/subuid to mount over";
    StartDaemon();
    const pid_t flood = HoldConnections(100, 4, Request(PowerOnPassword));
    ASSERT_GT(flood, 0);
    std::vector<std::optional<Answer>> answers;
    while (answers.size() < 10)
        answers.push_back(AskAs(Victim, Victim, TestSocket, Request(PowerOnPassword)));
    ::kill(flood, SIGKILL);
    ::waitpid(flood, nullptr, 0);
    ::umount2("/etc/subuid", MNT_DETACH);
    for (const auto& answer : answers) {
        ASSERT_TRUE(answer.has_value());
        EXPECT_TRUE(answer->isReply(0) && answer->elapsed.count() < 1500.0)
            << answer->elapsed.count() << " ms";
    }
}

TEST_F(Hardening, RefusalsOfManyUidsAreLoggedAFewLinesASecond)
{
    if (!CanSwitchUsers())
        GTEST_SKIP() << "needs real root to act as other users";
    StartDaemon();
    // Bad requests, each from another uid, until a line says how many were left out.
    const auto start = std::chrono::steady_clock::now();
    std::string log;
    for (uid_t uid = FirstSubordinate; log.find(" more refusals not logged)") == std::string::npos &&
                                       std::chrono::steady_clock::now() - start < std::chrono::seconds(10);
         ++uid) {
        ConnectAs(uid, uid, TestSocket)->send(Request("rm -rf /tmp"));
        log = daemon_->log();
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    EXPECT_NE(log.find(" more refusals not logged)"), std::string::npos);
    EXPECT_LE(RefusalLines(log), 5 * (spent.count() + 2)) << log;
}

TEST_F(Hardening, RequestsOfOneUserWithoutPauseAreLoggedAFewLinesASecond)
{
    if (!CanSwitchUsers())
        GTEST_SKIP() << "needs real root to act as other users";
    StartDaemon();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 100'000 && std::chrono::steady_clock::now() < start + std::chrono::seconds(3); ++i)
        AskAs(Attacker, Attacker, TestSocket, Request(RemoveStoredDmi));
    ASSERT_TRUE(AskAs(Victim, Victim, TestSocket, Request(RateOn)).has_value());
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    const std::string log = daemon_->log();
    std::size_t lines = 0;
    for (auto at = log.find("uid=1001 "); at != std::string::npos; at = log.find("uid=1001 ", at + 1))
        ++lines;
    EXPECT_LE(lines, 10 * (spent.count() + 2)) << log;
    EXPECT_NE(log.find(" more requests of this user not logged)"), std::string::npos) << log;
    EXPECT_NE(log.find("uid=1002 "), std::string::npos) << log;
}

} // namespace
} // namespace VcdTest
