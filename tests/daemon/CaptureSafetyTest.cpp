// Capture paths live in the shared /tmp: whatever another user leaves there, the daemon's root
// rights must never be turned against a file through them.
#include "CommandLines.h"
#include "DaemonTest.h"

#include <sys/stat.h>
#include <unistd.h>

namespace VcdTest {
namespace {

using CaptureSafety = DaemonTest;

constexpr const char* Victim = "/tmp/victim";
constexpr const char* Precious = "precious\n";

struct stat Lstat(const char* path)
{
    struct stat info = {};
    ::lstat(path, &info);
    return info;
}

TEST_F(CaptureSafety, LinkPlantedAtACapturePathIsReplacedNeverFollowed)
{
    for (const CaptureCase& capture : CaptureCommands) {
        SCOPED_TRACE(capture.line);
        WriteFile(Victim, Precious);
        ::unlink(capture.path);
        ASSERT_EQ(::symlink(Victim, capture.path), 0);
        EXPECT_TRUE(AskLine(capture.line).isReply(0));
        EXPECT_TRUE(S_ISREG(Lstat(capture.path).st_mode));
        EXPECT_EQ(ReadFile(capture.path), capture.expected ? capture.expected : FakeDump);
        EXPECT_EQ(ReadFile(Victim), Precious);

        // A dangling link must not make the daemon create its target either.
        ::unlink(capture.path);
        ASSERT_EQ(::symlink("/tmp/made-through-a-link", capture.path), 0);
        EXPECT_TRUE(AskLine(capture.line).isReply(0));
        EXPECT_FALSE(Exists("/tmp/made-through-a-link"));
        EXPECT_TRUE(S_ISREG(Lstat(capture.path).st_mode));
    }
}

TEST_F(CaptureSafety, HardLinkAtACapturePathIsReplacedNotWrittenThrough)
{
    // A hard link is how a user could hand us some other file under the capture name.
    WriteFile(Victim, Precious);
    ASSERT_EQ(::link(Victim, "/tmp/StoredDmi"), 0);
    const ino_t victimInode = Lstat(Victim).st_ino;
    EXPECT_TRUE(AskLine(DumpToStoredDmi).isReply(0));
    EXPECT_EQ(ReadFile(Victim), Precious);
    EXPECT_NE(Lstat("/tmp/StoredDmi").st_ino, victimInode);
    EXPECT_EQ(ReadFile("/tmp/StoredDmi"), FakeDump);
}

TEST_F(CaptureSafety, AnotherUsersFileIsReplacedByOneOfTheRequesters)
{
    if (!CanSwitchUsers())
        GTEST_SKIP() << "needs real root to give a file to another user";
    WriteFile("/tmp/dmidecode", "left by another user\n");
    ASSERT_EQ(::chown("/tmp/dmidecode", 4242, 4242), 0);
    EXPECT_TRUE(AskLine(PowerOnPassword).isReply(0));
    EXPECT_EQ(Lstat("/tmp/dmidecode").st_uid, ::getuid());
    EXPECT_EQ(ReadFile("/tmp/dmidecode"), "Disabled\n");
}

TEST_F(CaptureSafety, DirectoryAtACapturePathIsRefusedAndNothingRuns)
{
    ASSERT_EQ(::mkdir("/tmp/StoredDmi", 0755), 0);
    EXPECT_TRUE(AskLine(DumpToStoredDmi).isReply(1));
    EXPECT_TRUE(S_ISDIR(Lstat("/tmp/StoredDmi").st_mode));
    EXPECT_EQ(FakeDmidecodeRuns(), 0);
}

bool CanReadStoredDmi()
{
    return ReadFile("/tmp/StoredDmi") == FakeDump;
}

TEST_F(CaptureSafety, CaptureFileBelongsToTheUserWhoAsked)
{
    if (!CanSwitchUsers())
        GTEST_SKIP() << "needs real root to act as another user";
    const auto first = AskAs(Nobody, NoGroup, TestSocket, Request(DumpToStoredDmi));
    ASSERT_TRUE(first.has_value());
    EXPECT_TRUE(first->isReply(0));
    const struct stat info = Lstat("/tmp/StoredDmi");
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_uid, Nobody);
    EXPECT_EQ(info.st_gid, NoGroup);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_TRUE(RunAs(Nobody, NoGroup, CanReadStoredDmi));
    EXPECT_FALSE(RunAs(4242, 4242, CanReadStoredDmi)) << "another user can read the dump";

    // The same user's later commands replace and remove it.
    const auto again = AskAs(Nobody, NoGroup, TestSocket, Request(DumpToStoredDmiByPath));
    ASSERT_TRUE(again.has_value());
    EXPECT_TRUE(again->isReply(0));
    EXPECT_EQ(Lstat("/tmp/StoredDmi").st_uid, Nobody);
    const auto removed = AskAs(Nobody, NoGroup, TestSocket, Request(RemoveStoredDmi));
    ASSERT_TRUE(removed.has_value());
    EXPECT_TRUE(removed->isReply(0));
    EXPECT_FALSE(Exists("/tmp/StoredDmi"));
}

TEST_F(CaptureSafety, UserMayRemoveOnlyTheirOwnCaptureFile)
{
    if (!CanSwitchUsers())
        GTEST_SKIP() << "needs real root to act as another user";
    // Neither another user's file nor root's: root may be about to write to the name.
    for (const uid_t owner : {4242u, 0u}) {
        WriteFile("/tmp/dmidecode", "another user's\n");
        ASSERT_EQ(::chown("/tmp/dmidecode", owner, owner), 0);
        const auto answer = AskAs(Nobody, NoGroup, TestSocket, Request(RemoveDmidecode));
        ASSERT_TRUE(answer.has_value());
        EXPECT_TRUE(answer->isReply(1)) << owner;
        EXPECT_EQ(ReadFile("/tmp/dmidecode"), "another user's\n");
    }
}

TEST_F(CaptureSafety, LogNamesThePeerTheCommandAndTheOutcome)
{
    if (!CanSwitchUsers())
        GTEST_SKIP() << "needs real root to act as another user";
    ASSERT_TRUE(AskAs(Nobody, NoGroup, TestSocket, Request(RemoveStoredDmi)).has_value());
    ASSERT_TRUE(AskAs(Nobody, NoGroup, TestSocket, Request(RateOn)).has_value());
    // A client's own bytes never reach the log, so it cannot forge lines there.
    ASSERT_TRUE(AskAs(Nobody, NoGroup, TestSocket, Request("x\nuid=0 command=forged")).has_value());
    const std::string log = daemon_->log();
    EXPECT_NE(log.find("uid=65534 pid="), std::string::npos) << log;
    EXPECT_NE(log.find(" command=\"rm /tmp/StoredDmi\" outcome=failed\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" command=\"" + std::string(RateOn) + "\" outcome=done\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" command=- outcome=refused: unknown command\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("forged"), std::string::npos) << log;
}

} // namespace
} // namespace VcdTest
