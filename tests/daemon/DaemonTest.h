// The fixture of the protocol tests: scratch mounts, the fake tools and a running daemon.
#pragma once

#include "Client.h"
#include "DaemonProcess.h"
#include "FakeTools.h"
#include "Sandbox.h"

#include <gtest/gtest.h>
#include <memory>

namespace VcdTest {

inline constexpr uid_t Nobody = 65534;
inline constexpr gid_t NoGroup = 65534;

class DaemonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string why = PrepareMachine(mounts_);
        if (!why.empty())
            GTEST_SKIP() << why;
        if (startsDaemon())
            StartDaemon();
    }

    void TearDown() override
    {
        if (daemon_) {
            // Whatever a test's clients did, the daemon must still be there and stop cleanly.
            EXPECT_TRUE(daemon_->running()) << "the daemon has died";
            const std::string log = daemon_->log();
            EXPECT_EQ(daemon_->stop(), 0);
            if (HasFailure())
                std::cerr << "daemon log:\n" << log;
        }
        daemon_.reset();
        mounts_.reset();
    }

    virtual bool startsDaemon() const { return true; }

    void StartDaemon(std::vector<std::string> arguments = {}, mode_t umask = 022)
    {
        daemon_ = std::make_unique<DaemonProcess>(std::move(arguments), umask);
        ASSERT_TRUE(daemon_->listening()) << daemon_->log();
    }

    static Answer AskLine(std::string_view line) { return Ask(TestSocket, Request(line)); }

    std::unique_ptr<ScratchMounts> mounts_;
    std::unique_ptr<DaemonProcess> daemon_;
};

} // namespace VcdTest
