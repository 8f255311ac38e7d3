// The configuration program's own client against the daemon, as the program uses it.
#include "CommandLines.h"
#include "DaemonProcess.h"
#include "FakeTools.h"
#include "Sandbox.h"

#include "LibcHost.h"
#include "PrivilegedClient.h"

#include <gtest/gtest.h>
#include <memory>

namespace VcdTest {
namespace {

// The program as an ordinary user would run it: root would bypass the daemon altogether.
class UserHost : public Ucomtc::LibcHost
{
public:
    uid_t GetUid() override { return 1000; }
    void ShowMessage(Ucomtc::MessageKind, const QString& text) override { messages.push_back(text); }

    std::vector<QString> messages;
};

class EndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string why = PrepareMachine(mounts_);
        if (!why.empty())
            GTEST_SKIP() << why;
        daemon_ = std::make_unique<DaemonProcess>();
        ASSERT_TRUE(daemon_->listening()) << daemon_->log();
    }

    void TearDown() override
    {
        if (daemon_) {
            EXPECT_EQ(daemon_->stop(), 0);
        }
        daemon_.reset();
        mounts_.reset();
    }

    bool Run(std::string_view line)
    {
        return host_.RunPrivileged(QString::fromLatin1(TestSocket),
                                   QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
    }

    UserHost host_;
    std::unique_ptr<ScratchMounts> mounts_;
    std::unique_ptr<DaemonProcess> daemon_;
};

TEST_F(EndToEnd, MainWindowDumpsAndRemovesTheTable)
{
    ASSERT_TRUE(Run(DumpToStoredDmiByPath));
    EXPECT_EQ(ReadFile("/tmp/StoredDmi"), FakeDump);
    ASSERT_TRUE(Run(DumpToStoredDmi));
    EXPECT_EQ(ReadFile("/tmp/StoredDmi"), FakeDump);
    EXPECT_TRUE(Run(RemoveStoredDmi));
    EXPECT_FALSE(Exists("/tmp/StoredDmi"));
    // Nothing left to remove: a failure, but no message.
    EXPECT_FALSE(Run(RemoveStoredDmi));
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(EndToEnd, SecurityDialogReadsEachPasswordStatus)
{
    const std::pair<std::string_view, const char*> queries[] = {
        {PowerOnPassword, "Disabled\n"}, {AdministratorPassword, "Enabled\n"}, {HddPassword, "3C\n"}};
    for (const auto& [line, expected] : queries) {
        SCOPED_TRACE(line);
        ASSERT_TRUE(Run(line));
        EXPECT_EQ(ReadFile("/tmp/dmidecode"), expected);
        EXPECT_TRUE(Run(RemoveDmidecode));
        EXPECT_FALSE(Exists("/tmp/dmidecode"));
    }
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(EndToEnd, NubstickDialogSwitchesTheRate)
{
    EXPECT_TRUE(Run(RateOff));
    EXPECT_EQ(ReadFile(RatePath), "0");
    EXPECT_TRUE(Run(RateOn));
    EXPECT_EQ(ReadFile(RatePath), "100");
}

TEST_F(EndToEnd, RefusedCommandIsAFailureWithoutMessage)
{
    EXPECT_FALSE(Run("rm /tmp/StoredDmi; touch /tmp/pwned"));
    EXPECT_FALSE(Exists("/tmp/pwned"));
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(EndToEnd, StoppedDaemonIsReportedOnce)
{
    EXPECT_EQ(daemon_->stop(), 0);
    daemon_.reset();
    EXPECT_FALSE(Run(RateOff));
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages.front(), QString::fromLatin1(Ucomtc::MsgDaemonNotStarted));
    EXPECT_EQ(ReadFile(RatePath), "55");
}

} // namespace
} // namespace VcdTest
