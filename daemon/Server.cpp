#include "Server.h"

#include "Listener.h"
#include "Log.h"

#include <cerrno>
#include <csignal>
#include <exception>
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
    Shared(const ConnectionSettings& connection, int maxConnections)
        : settings(connection), slots(maxConnections)
    {}
    ConnectionSettings settings;
    std::mutex carrying;
    std::counting_semaphore<> slots;
};

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
    auto* shared = new Shared(settings.connection, settings.maxConnections);
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
            try {
                std::thread([client, shared] {
                    ServeConnection(client, shared->settings);
                    shared->slots.release();
                }).detach();
            } catch (const std::system_error&) {
                ::close(client);
                shared->slots.release();
            }
        }
    } catch (const std::exception& error) {
        LogMessage(error.what());
        return 1;
    }
}

} // namespace Vcd
