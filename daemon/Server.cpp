#include "Server.h"

#include "Listener.h"
#include "Log.h"
#include "Protocol.h"
#include "RealUsers.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <exception>
#include <list>
#include <map>
#include <mutex>
#include <sys/epoll.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace Vcd {
namespace {

using Clock = std::chrono::steady_clock;

// Open connections per user, so that no user but root holds more than their share. A user is
// counted with every uid of theirs (Peer::user): the ids of a subordinate range hold one share.
class UserCounts
{
public:
    explicit UserCounts(int perUser) : maxPerUser_(perUser) {}

    // Counts the connection in for its user; false when that user already has their share.
    bool Admit(const Peer& peer)
    {
        if (peer.uid == 0)
            return true;
        std::lock_guard<std::mutex> lock(mutex_);
        int& open = open_[peer.user];
        if (open >= maxPerUser_)
            return false;
        ++open;
        return true;
    }

    void Leave(const Peer& peer)
    {
        if (peer.uid == 0)
            return;
        std::lock_guard<std::mutex> lock(mutex_);
        if (--open_[peer.user] <= 0)
            open_.erase(peer.user);
    }

private:
    const int maxPerUser_;
    std::mutex mutex_;
    std::map<uid_t, int> open_;
};

// A complete request on its connection, waiting for its turn.
struct Ready
{
    int fd;
    Peer peer;
    const Command* command;
};

// Carries out complete requests one at a time, in the order they came: the commands share fixed
// capture paths, and one at a time also bounds how many root processes clients can make us start.
// Made once and never destroyed, as its thread may still be running when we stop.
class Carrier
{
public:
    Carrier(const ActionLimits& limits, std::size_t maxQueued, UserCounts& counts)
        : limits_(limits), maxQueued_(maxQueued), counts_(counts)
    {
        std::thread([this] { Run(); }).detach();
    }

    // False when the queue is full; the caller answers the request then.
    bool Queue(const Ready& ready)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (queue_.size() >= maxQueued_)
                return false;
            queue_.push_back(ready);
        }
        wake_.notify_one();
        return true;
    }

private:
    [[noreturn]] void Run()
    {
        for (;;) {
            Ready ready;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return !queue_.empty(); });
                ready = queue_.front();
                queue_.pop_front();
            }
            const bool done = Carry(*ready.command, ready.peer, limits_, handOvers_);
            LogRequest(ready.peer, ready.command->line, done ? "done" : "failed");
            Reply(ready.fd, done ? ReplyDone : ReplyFailed);
            ::close(ready.fd);
            counts_.Leave(ready.peer);
        }
    }

    const ActionLimits limits_;
    const std::size_t maxQueued_;
    UserCounts& counts_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Ready> queue_;
    HandOvers handOvers_; // the worker's alone
};

// A connection whose request is still arriving.
struct Waiting
{
    int fd;
    Peer peer;
    Clock::time_point deadline;
    RequestReader reader;
    std::list<Waiting>::iterator self; // its place in the list, for the event that names it
};

// The stop signals arrive on a descriptor the loop waits on; blocked before any thread starts,
// they stay blocked in the carrier's thread too.
int StopSignals()
{
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGHUP);
    if (::pthread_sigmask(SIG_BLOCK, &stop, nullptr) != 0)
        return -1;
    return ::signalfd(-1, &stop, SFD_CLOEXEC);
}

class Loop
{
public:
    Loop(const ServerSettings& settings, int stop, int listener)
        : settings_(settings), stop_(stop), listener_(listener),
          // Shared with the carrier's thread, which may outlive us: made once, never destroyed.
          counts_(*new UserCounts(settings.maxConnectionsPerUser)),
          carrier_(*new Carrier(settings.connection.limits, settings.maxQueued, counts_))
    {
        epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
        if (epoll_ < 0 || !Watch(listener_, &listener_) || !Watch(stop_, &stop_))
            throw std::system_error(errno, std::generic_category(), "cannot set up the event loop");
    }

    // Returns the exit status once a stop signal has come.
    int Run()
    {
        std::array<epoll_event, 64> events;
        for (;;) {
            const int count = ::epoll_wait(epoll_, events.data(), events.size(), Timeout());
            if (count < 0 && errno != EINTR) {
                LogMessage("epoll_wait failed");
                return 1;
            }
            bool accepting = false;
            for (int i = 0; i < count; ++i) {
                void* const tag = events[static_cast<std::size_t>(i)].data.ptr;
                if (tag == &stop_) {
                    LogMessage("stopping");
                    return 0;
                }
                if (tag == &listener_)
                    accepting = true;
                else
                    Read(static_cast<Waiting*>(tag));
            }
            // The bytes that have arrived are read first, so a newcomer never pushes out a
            // connection whose request is already there.
            if (accepting)
                AcceptAll();
            DropExpired();
        }
    }

private:
    using Position = std::list<Waiting>::iterator;

    bool Watch(int fd, void* tag)
    {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.ptr = tag;
        return ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event) == 0;
    }

    int Timeout() const
    {
        if (waiting_.empty())
            return -1;
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(waiting_.front().deadline - Clock::now());
        return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
    }

    // Ends a connection with a failure answer (unless the client has gone) and a line in the log.
    void Refuse(int fd, const Peer& peer, std::string_view command, std::string_view outcome,
                bool answer = true)
    {
        LogRefusal(peer, command, outcome);
        if (answer)
            Reply(fd, ReplyFailed);
        ::close(fd);
        counts_.Leave(peer);
    }

    // Takes the connection out of the loop's hands. The descriptor is unwatched before anyone
    // closes it: a shell being started may hold a copy a moment longer, and its events must not
    // come to us after the entry is gone.
    void Forget(Position position)
    {
        ::epoll_ctl(epoll_, EPOLL_CTL_DEL, position->fd, nullptr);
        waiting_.erase(position);
    }

    void Drop(Position position, std::string_view outcome)
    {
        const int fd = position->fd;
        const Peer peer = position->peer;
        Forget(position);
        Refuse(fd, peer, {}, outcome);
    }

    void AcceptAll()
    {
        // A bounded batch: the listener is still readable next time if more are queued.
        for (int i = 0; i < 256; ++i) {
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd < 0) {
                if (errno == EINTR || errno == ECONNABORTED)
                    continue;
                // Out of descriptors or memory: the oldest waiting connection makes room.
                if ((errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) &&
                    !waiting_.empty()) {
                    Drop(waiting_.begin(), "dropped: out of descriptors");
                    continue;
                }
                return;
            }
            Peer peer = PeerOf(fd);
            peer.user = users_.Of(peer.uid);
            if (!counts_.Admit(peer)) {
                LogRefusal(peer, {}, "refused: too many connections of this user");
                Reply(fd, ReplyFailed);
                ::close(fd);
                continue;
            }
            if (waiting_.size() >= settings_.maxWaiting)
                Drop(waiting_.begin(), "dropped: too many connections waiting");
            waiting_.push_back(Waiting{fd, peer, Clock::now() + settings_.connection.requestTimeout, {}, {}});
            Waiting& added = waiting_.back();
            added.self = std::prev(waiting_.end());
            // The program sends its request right after connecting, so it is often here already.
            if (!Watch(fd, &added))
                Drop(added.self, "dropped: cannot watch the connection");
            else
                Read(&added);
        }
    }

    void Read(Waiting* connection)
    {
        const ReadResult result = ReadAvailable(connection->fd, connection->reader);
        if (result != ReadResult::NeedMore)
            Finish(connection->self, result);
    }

    // The request has all arrived, or the client has gone: the connection waits no longer.
    void Finish(Position position, ReadResult result)
    {
        const int fd = position->fd;
        const Peer peer = position->peer;
        const RequestReader::State state = position->reader.state();
        const Refusal refusal = position->reader.refusal();
        const Command* command = position->reader.command();
        Forget(position);
        if (result == ReadResult::Closed)
            Refuse(fd, peer, {}, "dropped: closed before a complete request", false);
        else if (state == RequestReader::State::Refused)
            Refuse(fd, peer, {}, std::string("refused: ") + RefusalText(refusal));
        else if (peer.uid == static_cast<uid_t>(-1))
            Refuse(fd, peer, command->line, "refused: unknown peer");
        else if (!carrier_.Queue(Ready{fd, peer, command}))
            Refuse(fd, peer, command->line, "refused: too many requests waiting");
    }

    void DropExpired()
    {
        const auto now = Clock::now();
        // Every deadline is its arrival plus the same timeout, so the oldest comes first.
        while (!waiting_.empty() && waiting_.front().deadline <= now)
            Drop(waiting_.begin(), "dropped: no complete request in time");
    }

    const ServerSettings& settings_;
    int stop_;
    int listener_;
    int epoll_ = -1;
    UserCounts& counts_;
    Carrier& carrier_;
    RealUsers users_;
    std::list<Waiting> waiting_;
};

} // namespace

int RunServer(ServerSettings settings)
{
    ::signal(SIGPIPE, SIG_IGN);
    const int stop = StopSignals();
    if (stop < 0) {
        LogMessage("cannot set up signal handling");
        return 1;
    }
    try {
        Listener listener(settings.socketPath);
        LogMessage("listening on " + settings.socketPath);
        return Loop(settings, stop, listener.fd()).Run();
    } catch (const std::exception& error) {
        LogMessage(error.what());
        return 1;
    }
}

} // namespace Vcd
