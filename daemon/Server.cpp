#include "Server.h"

#include "Listener.h"
#include "Log.h"
#include "Protocol.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <exception>
#include <map>
#include <mutex>
#include <poll.h>
#include <semaphore>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace Vcd {
namespace {

struct Shared
{
    Shared(const ConnectionSettings& connection, int maxConnections, int perUser)
        : settings(connection), slots(maxConnections), maxPerUser(perUser)
    {}
    ConnectionSettings settings;
    std::mutex carrying;
    std::counting_semaphore<> slots;
    const int maxPerUser;
    std::mutex counting;
    std::map<uid_t, int> perUser;

    // Counts the connection in for its user; false when that user already has their share.
    bool Admit(uid_t uid)
    {
        if (uid == 0)
            return true;
        std::lock_guard<std::mutex> lock(counting);
        int& open = perUser[uid];
        if (open >= maxPerUser)
            return false;
        ++open;
        return true;
    }

    void Leave(uid_t uid)
    {
        if (uid == 0)
            return;
        std::lock_guard<std::mutex> lock(counting);
        if (--perUser[uid] <= 0)
            perUser.erase(uid);
    }
};

void TurnAway(int client, const Peer& peer)
{
    LogRefusedConnection(peer, "too many connections of this user");
    const std::uint32_t failed = ReplyFailed;
    ::send(client, &failed, sizeof failed, MSG_NOSIGNAL | MSG_DONTWAIT);
    ::close(client);
}

// The stop signals arrive on a descriptor the accept loop polls; blocked before any thread starts,
// they stay blocked in every connection thread too.
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

} // namespace

int RunServer(ServerSettings settings)
{
    ::signal(SIGPIPE, SIG_IGN);
    const int stop = StopSignals();
    if (stop < 0) {
        LogMessage("cannot set up signal handling");
        return 1;
    }
    // Connection threads are detached and may still be running when we stop, so what they share
    // is made once and never destroyed.
    auto* shared = new Shared(settings.connection, settings.maxConnections, settings.maxConnectionsPerUser);
    shared->settings.carrying = &shared->carrying;

    try {
        Listener listener(settings.socketPath);
        LogMessage("listening on " + settings.socketPath);
        for (;;) {
            pollfd waiting[2] = {{listener.fd(), POLLIN, 0}, {stop, POLLIN, 0}};
            if (::poll(waiting, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                LogMessage("poll failed");
                return 1;
            }
            if (waiting[1].revents != 0) {
                LogMessage("stopping");
                return 0;
            }
            if (!shared->slots.try_acquire_for(std::chrono::milliseconds(100)))
                continue;
            const int client = ::accept4(listener.fd(), nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) {
                const int error = errno;
                shared->slots.release();
                // Out of descriptors or memory: the pending client stays queued, so pause instead
                // of spinning on a listener that keeps reporting it.
                if (error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM)
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                continue;
            }
            const Peer peer = PeerOf(client);
            if (!shared->Admit(peer.uid)) {
                TurnAway(client, peer);
                shared->slots.release();
                continue;
            }
            try {
                std::thread([client, shared, uid = peer.uid] {
                    ServeConnection(client, shared->settings);
                    shared->Leave(uid);
                    shared->slots.release();
                }).detach();
            } catch (const std::system_error&) {
                ::close(client);
                shared->Leave(peer.uid);
                shared->slots.release();
            }
        }
    } catch (const std::exception& error) {
        LogMessage(error.what());
        return 1;
    }
}

} // namespace Vcd
