// Whatever stands at the socket path when the daemon starts is replaced by its own socket.
#include "CommandLines.h"
#include "DaemonTest.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace VcdTest {
namespace {

class Startup : public DaemonTest
{
protected:
    bool startsDaemon() const override { return false; }

    void ExpectOurSocket()
    {
        struct stat info;
        ASSERT_EQ(::lstat(TestSocket, &info), 0);
        EXPECT_EQ(info.st_mode, static_cast<mode_t>(S_IFSOCK | 0666));
        EXPECT_EQ(info.st_uid, ::getuid());
        EXPECT_TRUE(AskLine(RateOff).isReply(0));
    }
};

TEST_F(Startup, ReplacesAStaleSocket)
{
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, TestSocket);
    ASSERT_EQ(::bind(stale, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(stale);
    StartDaemon();
    ExpectOurSocket();
}

TEST_F(Startup, ReplacesAFileAndNeverFollowsALink)
{
    WriteFile(TestSocket, "a file\n");
    StartDaemon();
    ExpectOurSocket();
    daemon_->stop();

    WriteFile("/tmp/victim", "precious\n");
    ASSERT_EQ(::symlink("/tmp/victim", TestSocket), 0);
    StartDaemon();
    ExpectOurSocket();
    EXPECT_EQ(ReadFile("/tmp/victim"), "precious\n");
    daemon_->stop();

    ASSERT_EQ(::symlink("/tmp/made-through-a-link", TestSocket), 0);
    StartDaemon();
    ExpectOurSocket();
    EXPECT_FALSE(Exists("/tmp/made-through-a-link"));
}

TEST_F(Startup, SocketModeDoesNotDependOnTheUmask)
{
    for (const mode_t umask : {0000, 0077, 0777}) {
        SCOPED_TRACE(umask);
        StartDaemon({}, umask);
        ExpectOurSocket();
        EXPECT_EQ(daemon_->stop(), 0);
        daemon_.reset();
    }
}

TEST_F(Startup, StopRemovesItsSocket)
{
    StartDaemon();
    EXPECT_EQ(daemon_->stop(), 0);
    daemon_.reset();
    EXPECT_FALSE(Exists(TestSocket));
}

TEST_F(Startup, UnusableOptionsAreRejected)
{
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--bogus"}, {"--command-timeout", "0"}, {"--command-timeout", "5x"}, {"--socket"}}) {
        DaemonProcess daemon(arguments);
        EXPECT_FALSE(daemon.listening());
        EXPECT_EQ(daemon.stop(), 2);
    }
}

} // namespace
} // namespace VcdTest
