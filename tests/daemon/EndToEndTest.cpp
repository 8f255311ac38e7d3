// The configuration program's own client against the daemon, as the program uses it.
#include "CommandLines.h"
#include "DaemonProcess.h"
#include "FakeTools.h"
#include "Sandbox.h"

#include "machine/PrivilegedClient.h"

#include <gtest/gtest.h>
#include <memory>

namespace VcdTest {
namespace {

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

    // The program as an ordinary user asks: root would bypass the daemon altogether.
    Ucomtc::DaemonAnswer Ask(std::string_view line)
    {
        return Ucomtc::AskDaemonAt(QString::fromLatin1(TestSocket),
                                   QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())),
                                   30000);
    }

    std::unique_ptr<ScratchMounts> mounts_;
    std::unique_ptr<DaemonProcess> daemon_;
};

TEST_F(EndToEnd, MainWindowDumpsAndRemovesTheTable)
{
    ASSERT_EQ(Ask(DumpToStoredDmiByPath), Ucomtc::DaemonAnswer::Done);
    EXPECT_EQ(ReadFile("/tmp/StoredDmi"), FakeDump);
    ASSERT_EQ(Ask(DumpToStoredDmi), Ucomtc::DaemonAnswer::Done);
    EXPECT_EQ(ReadFile("/tmp/StoredDmi"), FakeDump);
    EXPECT_EQ(Ask(RemoveStoredDmi), Ucomtc::DaemonAnswer::Done);
    EXPECT_FALSE(Exists("/tmp/StoredDmi"));
    // Nothing left to remove: a failure, but no message.
    EXPECT_EQ(Ask(RemoveStoredDmi), Ucomtc::DaemonAnswer::Failed);
}

TEST_F(EndToEnd, SecurityDialogReadsEachPasswordStatus)
{
    const std::pair<std::string_view, const char*> queries[] = {
        {PowerOnPassword, "Disabled\n"}, {AdministratorPassword, "Enabled\n"}, {HddPassword, "3C\n"}};
    for (const auto& [line, expected] : queries) {
        SCOPED_TRACE(line);
        ASSERT_EQ(Ask(line), Ucomtc::DaemonAnswer::Done);
        EXPECT_EQ(ReadFile("/tmp/dmidecode"), expected);
        EXPECT_EQ(Ask(RemoveDmidecode), Ucomtc::DaemonAnswer::Done);
        EXPECT_FALSE(Exists("/tmp/dmidecode"));
    }
}

TEST_F(EndToEnd, NubstickDialogSwitchesTheRate)
{
    EXPECT_EQ(Ask(RateOff), Ucomtc::DaemonAnswer::Done);
    EXPECT_EQ(ReadFile(RatePath), "0");
    EXPECT_EQ(Ask(RateOn), Ucomtc::DaemonAnswer::Done);
    EXPECT_EQ(ReadFile(RatePath), "100");
}

TEST_F(EndToEnd, RefusedCommandIsAFailureWithoutMessage)
{
    EXPECT_EQ(Ask("rm /tmp/StoredDmi; touch /tmp/pwned"), Ucomtc::DaemonAnswer::Failed);
    EXPECT_FALSE(Exists("/tmp/pwned"));
}

TEST_F(EndToEnd, StoppedDaemonIsUnreachable)
{
    EXPECT_EQ(daemon_->stop(), 0);
    daemon_.reset();
    EXPECT_EQ(Ask(RateOff), Ucomtc::DaemonAnswer::Unreachable);
    EXPECT_EQ(ReadFile(RatePath), "55");
}

} // namespace
} // namespace VcdTest
