// Clients that stall, vanish or crowd in never stop the daemon from serving the others.
#include "CommandLines.h"
#include "DaemonTest.h"

#include <atomic>
#include <iostream>
#include <thread>
#include <vector>

namespace VcdTest {
namespace {

using BadClients = DaemonTest;
using Milliseconds = std::chrono::duration<double, std::milli>;
using std::chrono::milliseconds;
using std::chrono::seconds;

TEST_F(BadClients, SilentClientDoesNotDelayAWorkingOne)
{
    Connection silent(TestSocket);
    ASSERT_TRUE(silent.connected());
    const auto start = std::chrono::steady_clock::now();
    const Answer working = AskLine(RateOff);
    const Milliseconds spent = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(working.isReply(0));
    EXPECT_LT(spent.count(), 1000);
    RecordProperty("working_client_ms", std::to_string(spent.count()));
    std::cout << "working client beside a silent one answered in " << spent.count() << " ms\n";

    // The silent one is let go after about a second, with a failure if it is still listening.
    const Answer dropped = silent.await(seconds(12));
    EXPECT_NE(dropped.kind, Answer::Kind::NoAnswer);
    EXPECT_FALSE(dropped.isReply(0));
    EXPECT_GE(dropped.elapsed.count(), 900);
}

TEST_F(BadClients, ClientStoppingHalfWayIsDroppedAndNothingRuns)
{
    WriteFile("/tmp/StoredDmi", "kept\n");
    const std::string request = Request(RemoveStoredDmi);
    Connection stalled(TestSocket);
    ASSERT_TRUE(stalled.connected());
    ASSERT_TRUE(stalled.send(request.substr(0, 2))); // half a length word
    Connection stalledLater(TestSocket);
    ASSERT_TRUE(stalledLater.send(request.substr(0, request.size() - 1))); // all but the NUL
    for (Connection* connection : {&stalled, &stalledLater}) {
        const Answer dropped = connection->await(seconds(12));
        EXPECT_NE(dropped.kind, Answer::Kind::NoAnswer);
        EXPECT_FALSE(dropped.isReply(0));
    }
    EXPECT_EQ(ReadFile("/tmp/StoredDmi"), "kept\n");
}

TEST_F(BadClients, HundredIdleConnectionsDoNotShutOutANewClient)
{
    std::vector<std::unique_ptr<Connection>> idle;
    for (int i = 0; i < 100; ++i) {
        idle.push_back(std::make_unique<Connection>(TestSocket));
        ASSERT_TRUE(idle.back()->connected()) << i;
    }
    const auto start = std::chrono::steady_clock::now();
    const Answer answer = AskLine(RateOn);
    const Milliseconds spent = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(answer.isReply(0));
    EXPECT_LT(spent.count(), 1000);
    std::cout << "new client beside 100 idle connections answered in " << spent.count() << " ms\n";
    EXPECT_EQ(ReadFile(RatePath), "100");
}

TEST_F(BadClients, FiftyConcurrentClientsAreAllAnswered)
{
    // Only commands whose outcome does not depend on the order they are served in.
    const std::vector<std::string_view> lines = {
        RateOff,    RateOn, DumpToStoredDmi, DumpToStoredDmiByPath, PowerOnPassword, AdministratorPassword,
        HddPassword};
    std::atomic<int> ready{0};
    std::atomic<int> carriedOut{0};
    std::atomic<int> answered{0};
    int captures = 0;
    std::vector<std::thread> clients;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 50; ++i) {
        const std::string_view line = lines[static_cast<std::size_t>(i) % lines.size()];
        captures += line == RateOff || line == RateOn ? 0 : 1;
        clients.emplace_back([&, line] {
            Connection connection(TestSocket);
            ++ready;
            while (ready < 50)
                std::this_thread::yield();
            if (!connection.connected() || !connection.send(Request(line)))
                return;
            const Answer answer = connection.await(seconds(30));
            answered += answer.kind == Answer::Kind::Reply ? 1 : 0;
            carriedOut += answer.isReply(0) ? 1 : 0;
        });
    }
    for (std::thread& client : clients)
        client.join();
    const auto spent = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_EQ(answered, 50);
    EXPECT_EQ(carriedOut, 50);
    EXPECT_EQ(FakeDmidecodeRuns(), captures);
    RecordProperty("answered", carriedOut.load());
    std::cout << "concurrent clients answered with 0: " << carriedOut << " of 50 in " << spent.count()
              << " ms\n";
}

TEST_F(BadClients, ClientLeavingBeforeTheReplyDoesNoHarm)
{
    InstallFakeDmidecode(0.3);
    for (int i = 0; i < 5; ++i) {
        Connection leaving(TestSocket);
        ASSERT_TRUE(leaving.send(Request(DumpToStoredDmi)));
    }
    // The five commands still run one after the other; then the daemon goes on serving.
    const Answer answer = AskLine(RateOff);
    EXPECT_TRUE(answer.isReply(0));
    EXPECT_TRUE(daemon_->running());
}

} // namespace
} // namespace VcdTest
