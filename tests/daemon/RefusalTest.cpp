// Everything but the nine exact requests is refused with 1 and runs nothing.
#include "CommandLines.h"
#include "DaemonTest.h"

#include <string>
#include <vector>

namespace VcdTest {
namespace {

class Refusals : public DaemonTest
{
protected:
    void SetUp() override
    {
        DaemonTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // What the commands would change, so a refused request that slipped through shows.
        WriteFile("/tmp/StoredDmi", "kept\n");
        WriteFile("/tmp/dmidecode", "kept\n");
    }

    void ExpectRefused(const std::string& bytes)
    {
        const Answer answer = Ask(TestSocket, bytes);
        EXPECT_TRUE(answer.isReply(1)) << Printable(bytes);
    }

    void ExpectNothingRan()
    {
        EXPECT_EQ(FakeDmidecodeRuns(), 0);
        EXPECT_EQ(ReadFile("/tmp/StoredDmi"), "kept\n");
        EXPECT_EQ(ReadFile("/tmp/dmidecode"), "kept\n");
        EXPECT_EQ(ReadFile(RatePath), InitialRate);
        EXPECT_FALSE(Exists("/tmp/pwned"));
    }

    static std::string Printable(const std::string& bytes)
    {
        std::string text;
        for (const char c : bytes)
            text += (c >= 0x20 && c < 0x7f) ? std::string(1, c)
                                            : "\\x" + std::to_string(+static_cast<unsigned char>(c));
        return text;
    }
};

TEST_F(Refusals, UnknownCommandLines)
{
    for (const char* line : {"", " ", "rm /tmp/command", "cat /etc/shadow > /tmp/StoredDmi",
                             "touch /tmp/pwned", "rm -f /tmp/StoredDmi", "dmidecode"})
        ExpectRefused(Request(line));
    ExpectNothingRan();
}

TEST_F(Refusals, LinesDifferingByOneCharacter)
{
    for (const std::string_view known : AllCommands) {
        SCOPED_TRACE(known);
        for (std::size_t i = 0; i < known.size(); ++i) {
            std::string changed(known);
            changed[i] = changed[i] == 'x' ? 'y' : 'x';
            ExpectRefused(Request(changed));
            std::string shorter(known);
            shorter.erase(i, 1);
            ExpectRefused(Request(shorter));
        }
        std::string upper(known);
        upper[0] = upper[0] == 'r' ? 'R' : upper[0] == 'e' ? 'E' : upper[0] == 'd' ? 'D' : '\\';
        ExpectRefused(Request(upper));
    }
    ExpectNothingRan();
}

TEST_F(Refusals, BlanksMustBeExactlyAsTheProgramSendsThem)
{
    for (const char* line : {
             "/usr/sbin/dmidecode | grep 84 | grep 07 | gawk '{print $6}' > /tmp/dmidecode",
             "/usr/sbin/dmidecode | grep 84 |  grep 07 | gawk '{print $6}' >/tmp/dmidecode",
             "/usr/sbin/dmidecode | grep Power-On | gawk '{print $4}' > /tmp/dmidecode",
             "/usr/sbin/dmidecode | grep Administrator | gawk '{print $4}' > /tmp/dmidecode",
             "/usr/sbin/dmidecode >/tmp/StoredDmi",
             "dmidecode  > /tmp/StoredDmi",
             " rm /tmp/StoredDmi",
             "echo -n 0 >/sys/devices/platform/i8042/serio0/serio2/rate",
         })
        ExpectRefused(Request(line));
    ExpectNothingRan();
}

TEST_F(Refusals, TrailingText)
{
    for (const std::string_view known : AllCommands) {
        SCOPED_TRACE(known);
        for (const char* tail : {" ", "\n", ";", "; touch /tmp/pwned", " && touch /tmp/pwned", "x"})
            ExpectRefused(Request(std::string(known) + tail));
    }
    ExpectNothingRan();
}

TEST_F(Refusals, EmbeddedNul)
{
    for (const std::string_view known : AllCommands) {
        SCOPED_TRACE(known);
        // The known line, then more behind a NUL: n counts all of it.
        ExpectRefused(Request(std::string(known) + '\0'));
        ExpectRefused(Request(std::string(known) + std::string("\0touch /tmp/pwned", 17)));
        std::string split(known);
        split[split.size() / 2] = '\0';
        ExpectRefused(Request(split));
    }
    ExpectNothingRan();
}

TEST_F(Refusals, MissingFinalNul)
{
    for (const std::string_view known : AllCommands) {
        SCOPED_TRACE(known);
        const auto n = static_cast<std::uint32_t>(known.size());
        ExpectRefused(LengthWord(n) + std::string(known));
        ExpectRefused(LengthWord(n + 1) + std::string(known) + "x");
    }
    ExpectNothingRan();
}

TEST_F(Refusals, LengthOutOfRangeIsRefusedFromTheWordAlone)
{
    const long residentBefore = daemon_->peakResidentKiB();
    for (const std::uint32_t n : {0u, 4097u, 65536u, 0x80000000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(n);
        // Only the length word is sent: the answer must not wait for the bytes it announces.
        const Answer answer = Ask(TestSocket, LengthWord(n), std::chrono::seconds(2));
        EXPECT_TRUE(answer.isReply(1));
        EXPECT_LT(answer.elapsed.count(), 1000);
    }
    // Nothing of the announced size was ever allocated and touched.
    EXPECT_LT(daemon_->peakResidentKiB(), residentBefore + 16 * 1024);

    // The largest request accepted is read in full and then judged on its text.
    std::string largest(4095, 'a');
    ExpectRefused(Request(largest));
    ExpectNothingRan();
}

} // namespace
} // namespace VcdTest
