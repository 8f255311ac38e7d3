// The nine commands: each has the effect its command line describes, and no other.
#include "CommandLines.h"
#include "DaemonTest.h"

#include <set>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace VcdTest {
namespace {

using Commands = DaemonTest;

TEST_F(Commands, CaptureCommandsLeaveAPrivateFileOfTheRequester)
{
    for (const CaptureCase& capture : CaptureCommands) {
        SCOPED_TRACE(capture.line);
        ::unlink(capture.path);
        const int runsBefore = FakeDmidecodeRuns();
        EXPECT_TRUE(AskLine(capture.line).isReply(0));
        EXPECT_EQ(ReadFile(capture.path), capture.expected ? capture.expected : FakeDump);
        EXPECT_EQ(FakeDmidecodeRuns(), runsBefore + 1);
        struct stat info;
        ASSERT_EQ(::lstat(capture.path, &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode));
        EXPECT_EQ(info.st_mode & 07777, 0600u);
        EXPECT_EQ(info.st_uid, ::getuid());
    }
}

TEST_F(Commands, ReplyComesOnlyWhenTheCaptureIsComplete)
{
    InstallFakeDmidecode(0.6);
    const Answer answer = AskLine(DumpToStoredDmi);
    EXPECT_TRUE(answer.isReply(0));
    EXPECT_GE(answer.elapsed.count(), 500);
    // Read at once, as the program does: the whole dump must already be there.
    EXPECT_EQ(ReadFile("/tmp/StoredDmi"), FakeDump);
}

TEST_F(Commands, FailingDumpIsAnsweredWithFailure)
{
    InstallFakeDmidecode(0, 3);
    EXPECT_TRUE(AskLine(DumpToStoredDmi).isReply(1));
    EXPECT_TRUE(AskLine(DumpToStoredDmiByPath).isReply(1));
}

TEST_F(Commands, CommandsRunAsRootWithTheDaemonsOwnEnvironment)
{
    ASSERT_TRUE(AskLine(DumpToStoredDmiByPath).isReply(0));
    std::istringstream environment(FakeDmidecodeEnvironment());
    std::set<std::string> variables;
    std::string line;
    while (std::getline(environment, line))
        variables.insert(line);
    EXPECT_TRUE(variables.count("PATH=/usr/sbin:/usr/bin:/sbin:/bin")) << FakeDmidecodeEnvironment();
    EXPECT_TRUE(variables.count("LC_ALL=C")) << FakeDmidecodeEnvironment();
    // The daemon was started with its own PATH, locale and a secret; none of it may get through.
    for (const std::string& variable : variables) {
        const std::string name = variable.substr(0, variable.find('='));
        EXPECT_TRUE(name == "PATH" || name == "LC_ALL" || name == "PWD" || name == "SHLVL" || name == "_")
            << variable;
    }
    EXPECT_EQ(FakeDmidecodeIdentity(), "0 /\n");
}

TEST_F(Commands, HungCommandIsKilledAndAnsweredWithFailure)
{
    daemon_->stop();
    StartDaemon({"--command-timeout", "1"});
    InstallFakeDmidecode(60);
    const Answer answer = AskLine(PowerOnPassword);
    EXPECT_TRUE(answer.isReply(1));
    EXPECT_LT(answer.elapsed.count(), 5000);
    // The next request gets its turn at once.
    InstallFakeDmidecode();
    EXPECT_TRUE(AskLine(RateOff).isReply(0));
}

TEST_F(Commands, RemovalsRemoveTheirRegularFile)
{
    for (const auto& [line, path] :
         {std::pair{RemoveStoredDmi, "/tmp/StoredDmi"}, std::pair{RemoveDmidecode, "/tmp/dmidecode"}}) {
        SCOPED_TRACE(line);
        WriteFile(path, "captured\n");
        WriteFile("/tmp/StoredDmi.keep", "other\n");
        EXPECT_TRUE(AskLine(line).isReply(0));
        EXPECT_FALSE(Exists(path));
        // Like rm of a missing file: a failure.
        EXPECT_TRUE(AskLine(line).isReply(1));
        EXPECT_EQ(ReadFile("/tmp/StoredDmi.keep"), "other\n");
    }
}

TEST_F(Commands, RemovalsTakeNothingButARegularFile)
{
    WriteFile("/tmp/victim", "precious\n");
    ASSERT_EQ(::symlink("/tmp/victim", "/tmp/StoredDmi"), 0);
    ASSERT_EQ(::mkdir("/tmp/dmidecode", 0755), 0);
    EXPECT_TRUE(AskLine(RemoveStoredDmi).isReply(1));
    EXPECT_TRUE(AskLine(RemoveDmidecode).isReply(1));
    struct stat info;
    EXPECT_TRUE(::lstat("/tmp/StoredDmi", &info) == 0 && S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadFile("/tmp/victim"), "precious\n");
    EXPECT_TRUE(::lstat("/tmp/dmidecode", &info) == 0 && S_ISDIR(info.st_mode));

    ::unlink("/tmp/StoredDmi");
    ASSERT_EQ(::mkfifo("/tmp/StoredDmi", 0666), 0);
    EXPECT_TRUE(AskLine(RemoveStoredDmi).isReply(1));
    EXPECT_TRUE(::lstat("/tmp/StoredDmi", &info) == 0 && S_ISFIFO(info.st_mode));
}

TEST_F(Commands, RateCommandsWriteTheirValue)
{
    EXPECT_TRUE(AskLine(RateOff).isReply(0));
    EXPECT_EQ(ReadFile(RatePath), "0");
    EXPECT_TRUE(AskLine(RateOn).isReply(0));
    EXPECT_EQ(ReadFile(RatePath), "100");
    EXPECT_EQ(FakeDmidecodeRuns(), 0);
}

TEST_F(Commands, RateWriteThatFailsIsAnsweredWithFailure)
{
    // No attribute: nothing is created in its place.
    ::unlink(RatePath);
    EXPECT_TRUE(AskLine(RateOn).isReply(1));
    EXPECT_FALSE(Exists(RatePath));

    // A link in its place is not followed.
    WriteFile("/tmp/victim", "precious\n");
    ASSERT_EQ(::symlink("/tmp/victim", RatePath), 0);
    EXPECT_TRUE(AskLine(RateOff).isReply(1));
    EXPECT_EQ(ReadFile("/tmp/victim"), "precious\n");
    ::unlink(RatePath);

    // The attribute is there but will not take the value: a full file system stands in for a
    // device that rejects the write.
    const std::string full = "/tmp/full";
    ASSERT_EQ(::mkdir(full.c_str(), 0755), 0);
    ASSERT_EQ(::mount("vcd-test", full.c_str(), "tmpfs", 0, "size=4k"), 0);
    WriteFile(full + "/filler", std::string(4096, 'x'));
    WriteFile(full + "/rate", "");
    WriteFile(RatePath, "");
    ASSERT_EQ(::mount((full + "/rate").c_str(), RatePath, nullptr, MS_BIND, nullptr), 0);
    EXPECT_TRUE(AskLine(RateOn).isReply(1));
    EXPECT_EQ(ReadFile(RatePath), "");
    ::umount2(RatePath, MNT_DETACH);
    ::umount2(full.c_str(), MNT_DETACH);
}

} // namespace
} // namespace VcdTest
