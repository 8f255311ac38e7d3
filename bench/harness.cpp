// lapstone-bench DIR RUNS IDLE_RUNS IDLE_SECONDS
//
// Runs inside the simulated notebook as root (run-in-sim.sh --as-root) and measures the program
// from outside, each figure against its floor in the same run, ours and floor alternating. The
// program and the bare window run as the notebook's user, as a person would start them; floors
// made of command lines run as root, as the daemon runs them. DIR holds bench-bare-window and
// lapstone-bench-tour and receives results.tsv and results.md.
//
// "Shown" is the X server's map notification for the new top-level window; "dump taken and vendor
// check done" is the program closing /tmp/StoredDmi after reading it, seen through inotify.
#include <xcb/xcb.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <map>
#include <optional>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char* const Program = "/opt/lapstone/vc/bin/LapstoneConfiguration";
const char* const Socket = "/tmp/vx_vc_socket";
const char* const DumpCommand = "dmidecode > /tmp/StoredDmi";
const char* const UserHome = "/home/lapstone";
const char* const UserRuntime = "/run/user/1000";
const uid_t UserId = 1000;
// The capture files a show handler may leave behind when its floor runs as root.
const char* const CaptureFiles[] = {"/tmp/command",    "/tmp/state",       "/tmp/info",     "/tmp/dmidecode",
                                    "/tmp/mem",        "/tmp/nubstick",    "/tmp/touchpad", "/tmp/kpowersave",
                                    "/tmp/xorgconfig", "/tmp/kpowersaverc"};

double Ms(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

std::string ProcDir()
{
    // Inside the notebook the process folders live only under the sandbox's own procfs.
    struct stat info
    {
    };
    return ::stat("/run/host-proc/self", &info) == 0 ? "/run/host-proc" : "/proc";
}

std::string Env(const char* name, const char* fallback = "")
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : fallback;
}

std::vector<std::string> UserEnvironment()
{
    std::vector<std::string> env = {std::string("HOME=") + UserHome,
                                    "USER=lapstone",
                                    "LOGNAME=lapstone",
                                    "SHELL=/bin/bash",
                                    "PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin",
                                    "LANG=C.UTF-8",
                                    std::string("XDG_RUNTIME_DIR=") + UserRuntime,
                                    "LAPSTONE_SIM_PROFILE=" + Env("LAPSTONE_SIM_PROFILE")};
    if (!Env("DISPLAY").empty())
        env.push_back("DISPLAY=" + Env("DISPLAY"));
    env.push_back(std::string("XAUTHORITY=") + UserRuntime + "/Xauthority");
    if (!Env("QT_QPA_PLATFORM").empty())
        env.push_back("QT_QPA_PLATFORM=" + Env("QT_QPA_PLATFORM"));
    return env;
}

std::vector<char*> Pointers(const std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (const auto& text : texts)
        pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// Starts `path` with `argv` and `envp`, input and output on /dev/null; `asUser` runs it as the
// notebook's user, otherwise it stays root.
pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& envp, bool asUser)
{
    std::vector<char*> args = Pointers(argv), env = Pointers(envp);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 1);
        const gid_t groups[] = {UserId};
        if (asUser && (::setgroups(1, groups) != 0 || ::setgid(UserId) != 0 || ::setuid(UserId) != 0 ||
                       ::chdir(UserHome) != 0))
            ::_exit(126);
        ::execve(args[0], args.data(), env.data());
        ::_exit(127);
    }
    return pid;
}

pid_t SpawnAsUser(const std::vector<std::string>& argv)
{
    return Spawn(argv, UserEnvironment(), true);
}

// Runs /bin/sh with `args` as root and waits for it.
void RunSh(const std::vector<std::string>& args)
{
    std::vector<std::string> argv = {"/bin/sh"};
    argv.insert(argv.end(), args.begin(), args.end());
    // The user's search path: the desktop tools live in /usr/local/bin.
    const pid_t pid = Spawn(argv,
                            {"PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin", "LANG=C.UTF-8",
                             std::string("HOME=") + UserHome},
                            false);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

// One request to the daemon, as the program's client sends it; true when a reply came.
bool AskDaemon(const std::string& command)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, Socket, sizeof(address.sun_path) - 1);
    bool answered = false;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const auto length = static_cast<std::uint32_t>(command.size() + 1);
        std::string request(reinterpret_cast<const char*>(&length), sizeof length);
        request.append(command.c_str(), command.size() + 1);
        if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
            static_cast<ssize_t>(request.size())) {
            std::int32_t reply = 0;
            answered = ::recv(fd, &reply, sizeof reply, MSG_WAITALL) == sizeof reply;
        }
        ::shutdown(fd, SHUT_RDWR);
    }
    ::close(fd);
    return answered;
}

long StatusField(pid_t pid, const std::string& task, const char* field)
{
    std::ifstream status(ProcDir() + "/" + std::to_string(pid) + task + "/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(key.size()));
    }
    return -1;
}

struct Usage
{
    double cpuMs = 0;
    long switches = 0;
};

// CPU time of the whole process and context switches summed over its threads: each one is a
// thread that went to sleep and was woken again.
Usage ReadUsage(pid_t pid)
{
    Usage usage;
    const std::string dir = ProcDir() + "/" + std::to_string(pid);
    std::ifstream stat(dir + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = all.rfind(')');
    if (close != std::string::npos) {
        std::istringstream fields(all.substr(close + 2));
        std::string field;
        std::vector<std::string> values;
        while (fields >> field)
            values.push_back(field);
        // After the name: state is field 3; utime and stime are fields 14 and 15.
        if (values.size() > 12)
            usage.cpuMs = (std::stod(values[11]) + std::stod(values[12])) * 1000.0 / sysconf(_SC_CLK_TCK);
    }
    const std::string tasks = dir + "/task";
    if (auto* listing = ::opendir(tasks.c_str())) {
        while (auto* entry = ::readdir(listing)) {
            if (entry->d_name[0] == '.')
                continue;
            const std::string task = std::string("/task/") + entry->d_name;
            usage.switches += StatusField(pid, task, "voluntary_ctxt_switches") +
                              StatusField(pid, task, "nonvoluntary_ctxt_switches");
        }
        ::closedir(listing);
    }
    return usage;
}

// Watches the display for new top-level windows and /tmp for the dump being read.
class Watcher
{
public:
    Watcher()
    {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_)) {
            std::fprintf(stderr, "lapstone-bench: cannot open the display\n");
            std::exit(1);
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        protocols_ = Atom("WM_PROTOCOLS");
        deleteWindow_ = Atom("WM_DELETE_WINDOW");
        xcb_flush(connection_);
        inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ::inotify_add_watch(inotify_, "/tmp", IN_CLOSE_NOWRITE);
    }
    ~Watcher()
    {
        xcb_disconnect(connection_);
        ::close(inotify_);
    }

    void Reset()
    {
        Drain(Clock::now());
        window_ = 0;
        mapped_.reset();
        dumpRead_.reset();
    }

    // Waits until a top-level window is mapped and, when `dump`, the dump has been read.
    bool Wait(bool dump, int timeoutMs = 20000)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!(mapped_ && (!dump || dumpRead_))) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                return false;
            pollfd fds[2] = {{xcb_get_file_descriptor(connection_), POLLIN, 0}, {inotify_, POLLIN, 0}};
            ::poll(fds, 2, static_cast<int>(left));
            Drain(Clock::now());
        }
        return true;
    }

    Clock::time_point mapped() const { return *mapped_; }
    std::optional<Clock::time_point> dumpRead() const { return dumpRead_; }
    Clock::time_point ready() const { return std::max(*mapped_, dumpRead_.value_or(*mapped_)); }

    // Asks the window to close, as the window manager's close button would.
    void Close()
    {
        if (window_ == 0)
            return;
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window_;
        message.type = protocols_;
        message.data.data32[0] = deleteWindow_;
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection_, 0, window_, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(connection_);
    }

private:
    xcb_atom_t Atom(const char* name)
    {
        auto* reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, std::strlen(name), name), nullptr);
        const xcb_atom_t atom = reply != nullptr ? reply->atom : 0;
        std::free(reply);
        return atom;
    }

    void Drain(Clock::time_point now)
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (!map->override_redirect && !mapped_) {
                    mapped_ = now;
                    window_ = map->window;
                }
            }
            std::free(event);
        }
        alignas(inotify_event) char buffer[4096];
        ssize_t got;
        while ((got = ::read(inotify_, buffer, sizeof buffer)) > 0) {
            for (char* at = buffer; at < buffer + got;) {
                auto* event = reinterpret_cast<inotify_event*>(at);
                if (event->len > 0 && std::strcmp(event->name, "StoredDmi") == 0 && !dumpRead_)
                    dumpRead_ = now;
                at += sizeof(inotify_event) + event->len;
            }
        }
    }

    xcb_connection_t* connection_;
    xcb_window_t root_;
    xcb_atom_t protocols_ = 0;
    xcb_atom_t deleteWindow_ = 0;
    xcb_window_t window_ = 0;
    int inotify_;
    std::optional<Clock::time_point> mapped_;
    std::optional<Clock::time_point> dumpRead_;
};

bool WaitExit(pid_t pid, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return true;
        ::usleep(2000);
    }
    return false;
}

void Stop(Watcher& watcher, pid_t pid)
{
    watcher.Close();
    if (!WaitExit(pid, 5000)) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    ::unlink("/tmp/StoredDmi");
}

struct Started
{
    pid_t pid = -1;
    double ms = NAN;
    double mappedMs = NAN;   // the window's map notification alone
    double dumpReadMs = NAN; // the dump read alone
};

// Starts `argv` as the user and waits until its window is up (and the dump read, when `dump`).
Started Start(Watcher& watcher, const std::vector<std::string>& argv, bool dump)
{
    watcher.Reset();
    const auto t0 = Clock::now();
    Started started{SpawnAsUser(argv), NAN};
    if (watcher.Wait(dump)) {
        started.ms = Ms(t0, watcher.ready());
        started.mappedMs = Ms(t0, watcher.mapped());
        if (watcher.dumpRead())
            started.dumpReadMs = Ms(t0, *watcher.dumpRead());
    } else
        std::fprintf(stderr, "lapstone-bench: %s did not come up\n", argv[0].c_str());
    return started;
}

double Median(std::vector<double> values)
{
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return std::isnan(v); }),
                 values.end());
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::map<std::string, double> ReadTour(const std::string& dir)
{
    std::map<std::string, double> values;
    std::ifstream table(dir + "/tour.tsv");
    std::string name;
    double value;
    while (table >> name >> value)
        values[name] = value;
    return values;
}

bool Exists(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0;
}

struct Row
{
    std::string figure;
    std::string unit;
    std::vector<double> ours;
    std::vector<double> floor;
};

std::string Number(double value, int decimals)
{
    if (std::isnan(value))
        return "n/a";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: lapstone-bench DIR RUNS IDLE_RUNS IDLE_SECONDS\n");
        return 2;
    }
    const std::string dir = argv[1];
    const int runs = std::max(1, std::atoi(argv[2]));
    const int idleRuns = std::max(1, std::atoi(argv[3]));
    const int idleSeconds = std::max(1, std::atoi(argv[4]));
    const std::string bare = dir + "/bench-bare-window";
    const std::string tourProgram = dir + "/lapstone-bench-tour";

    // The user's runtime folder and a copy of the display's key it may read.
    ::mkdir(UserRuntime, 0700);
    ::chown(UserRuntime, UserId, UserId);
    const std::string key = std::string(UserRuntime) + "/Xauthority";
    RunSh({"-c", "cp '" + Env("XAUTHORITY") + "' " + key + " 2>/dev/null || : > " + key});
    ::chown(key.c_str(), UserId, UserId);
    ::chown(dir.c_str(), UserId, UserId);

    Watcher watcher;

    // Figure keys in table order, as the tour names them.
    const std::vector<std::pair<std::string, std::string>> dialogs = {
        {"sysinfo-general", "system information: open (General tab)"},
        {"sysinfo-bios", "system information: BIOS tab"},
        {"sysinfo-battery", "system information: battery tab"},
        {"sysinfo-battery2", "system information: second battery"},
        {"nubstick", "Nubstick"},
        {"touchpad", "touch pad"},
        {"security", "security information"},
        {"resume", "resume lock"},
    };
    std::vector<double> startOurs, startBare, dumpTrip, startFloor, startMapped, startDumpRead;
    std::vector<double> rssOurs, rssStart, rssBare, trip, tripSh, crowd, crowdSh, answered;
    std::map<std::string, std::vector<double>> dialogOurs, dialogFloor;

    for (int run = 0; run < runs; ++run) {
        std::fprintf(stderr, "lapstone-bench: run %d of %d\n", run + 1, runs);
        // 1. Start-up: the program, then the bare window, then the dump through the daemon alone.
        Started ours = Start(watcher, {Program}, true);
        startOurs.push_back(ours.ms);
        startMapped.push_back(ours.mappedMs);
        startDumpRead.push_back(ours.dumpReadMs);
        if (ours.pid > 0) {
            // The program's own peak once it is up, taken as the bare window's below; the tour's
            // figure is the tour driver's, which holds the same forms.
            ::usleep(300000);
            rssStart.push_back(StatusField(ours.pid, "", "VmHWM") / 1024.0);
            Stop(watcher, ours.pid);
        }
        Started floor = Start(watcher, {bare}, false);
        startBare.push_back(floor.ms);
        if (floor.pid > 0) {
            // Its peak after the first paint is its peak for good.
            ::usleep(300000);
            rssBare.push_back(StatusField(floor.pid, "", "VmHWM") / 1024.0);
            Stop(watcher, floor.pid);
        }
        auto t0 = Clock::now();
        const bool dumped = AskDaemon(DumpCommand);
        dumpTrip.push_back(dumped ? Ms(t0, Clock::now()) : NAN);
        startFloor.push_back(startBare.back() + dumpTrip.back());
        ::unlink("/tmp/StoredDmi");

        // 2 and 3. The dialogs and the memory after them, then the same command lines by sh.
        const std::string tourDir = dir + "/tour-" + std::to_string(run + 1);
        ::mkdir(tourDir.c_str(), 0755);
        ::chown(tourDir.c_str(), UserId, UserId);
        const pid_t tour = SpawnAsUser({tourProgram, tourDir});
        if (!WaitExit(tour, 60000)) {
            std::fprintf(stderr, "lapstone-bench: the tour did not end\n");
            ::kill(tour, SIGKILL);
            ::waitpid(tour, nullptr, 0);
        }
        ::unlink("/tmp/StoredDmi");
        const auto measured = ReadTour(tourDir);
        for (const auto& [figure, title] : dialogs) {
            const auto found = measured.find(figure);
            dialogOurs[figure].push_back(found != measured.end() ? found->second : NAN);
            const std::string script = tourDir + "/" + figure + ".sh";
            if (found == measured.end() || !Exists(script)) {
                dialogFloor[figure].push_back(NAN);
                continue;
            }
            t0 = Clock::now();
            RunSh({script});
            dialogFloor[figure].push_back(Ms(t0, Clock::now()));
            for (const char* file : CaptureFiles)
                ::unlink(file);
        }
        const auto rss = measured.find("peak-rss-kib");
        rssOurs.push_back(rss != measured.end() ? rss->second / 1024.0 : NAN);

        // 4. The daemon: one request against sh, then 50 clients at once against 50 shells at once.
        t0 = Clock::now();
        trip.push_back(AskDaemon(DumpCommand) ? Ms(t0, Clock::now()) : NAN);
        t0 = Clock::now();
        RunSh({"-c", DumpCommand});
        tripSh.push_back(Ms(t0, Clock::now()));
        std::atomic<int> replies{0};
        t0 = Clock::now();
        {
            std::vector<std::thread> clients;
            for (int i = 0; i < 50; ++i)
                clients.emplace_back([&] { replies += AskDaemon(DumpCommand) ? 1 : 0; });
            for (auto& client : clients)
                client.join();
        }
        crowd.push_back(Ms(t0, Clock::now()));
        answered.push_back(replies);
        t0 = Clock::now();
        {
            std::vector<std::thread> shells;
            for (int i = 0; i < 50; ++i)
                shells.emplace_back([] { RunSh({"-c", DumpCommand}); });
            for (auto& shell : shells)
                shell.join();
        }
        crowdSh.push_back(Ms(t0, Clock::now()));
        ::unlink("/tmp/StoredDmi");
    }

    // 5. Idle: both windows open side by side and untouched.
    std::vector<double> idleCpu, idleCpuBare, idleWake, idleWakeBare, startCpu, startCpuBare;
    for (int run = 0; run < idleRuns; ++run) {
        std::fprintf(stderr, "lapstone-bench: idle %d of %d (%d s)\n", run + 1, idleRuns, idleSeconds);
        Started ours = Start(watcher, {Program}, true);
        Watcher bareWatcher;
        Started floor = Start(bareWatcher, {bare}, false);
        if (ours.pid > 0 && floor.pid > 0 && !std::isnan(ours.ms) && !std::isnan(floor.ms)) {
            ::sleep(1);
            const Usage a0 = ReadUsage(ours.pid), b0 = ReadUsage(floor.pid);
            startCpu.push_back(a0.cpuMs);
            startCpuBare.push_back(b0.cpuMs);
            ::sleep(static_cast<unsigned>(idleSeconds));
            const Usage a1 = ReadUsage(ours.pid), b1 = ReadUsage(floor.pid);
            idleCpu.push_back(a1.cpuMs - a0.cpuMs);
            idleCpuBare.push_back(b1.cpuMs - b0.cpuMs);
            idleWake.push_back(static_cast<double>(a1.switches - a0.switches));
            idleWakeBare.push_back(static_cast<double>(b1.switches - b0.switches));
        }
        if (floor.pid > 0)
            Stop(bareWatcher, floor.pid);
        if (ours.pid > 0)
            Stop(watcher, ours.pid);
    }

    std::vector<Row> rows = {
        {"start-up: process start to window shown, dump read", "ms", startOurs, startFloor}};
    for (const auto& [figure, title] : dialogs)
        rows.push_back({"dialog: " + title, "ms", dialogOurs[figure], dialogFloor[figure]});
    rows.push_back({"peak RSS after the tour", "MiB", rssOurs, rssBare});
    rows.push_back({"peak RSS of the program itself after start-up", "MiB", rssStart, rssBare});
    rows.push_back({"daemon: one request's round trip", "ms", trip, tripSh});
    rows.push_back({"daemon: 50 concurrent clients, all answered", "ms", crowd, crowdSh});
    rows.push_back({"daemon: 50 concurrent clients, answers", "count", answered,
                    std::vector<double>(answered.size(), 50)});
    const std::string idle = "idle " + std::to_string(idleSeconds) + " s: ";
    rows.push_back({idle + "CPU time", "ms", idleCpu, idleCpuBare});
    rows.push_back({idle + "wake-ups (context switches)", "count", idleWake, idleWakeBare});

    std::ostringstream md;
    md << "| Figure | Unit | Ours | Floor | Ratio |\n|---|---|---:|---:|---:|\n";
    std::ostringstream tsv;
    std::printf("%-60s %-6s %10s %10s %7s\n", "figure", "unit", "ours", "floor", "ratio");
    for (const Row& row : rows) {
        const double ours = Median(row.ours), floor = Median(row.floor);
        const int decimals = row.unit == "count" ? 0 : (row.unit == "MiB" ? 1 : 2);
        const std::string ratio = floor > 0 && !std::isnan(ours) ? Number(ours / floor, 2) : "n/a";
        std::printf("%-60s %-6s %10s %10s %7s\n", row.figure.c_str(), row.unit.c_str(),
                    Number(ours, decimals).c_str(), Number(floor, decimals).c_str(), ratio.c_str());
        md << "| " << row.figure << " | " << row.unit << " | " << Number(ours, decimals) << " | "
           << Number(floor, decimals) << " | " << ratio << " |\n";
        tsv << row.figure << '\t' << row.unit << '\t' << Number(ours, 3) << '\t' << Number(floor, 3) << '\n';
    }
    std::ostringstream detail;
    detail << "\nStart-up floor in parts: bare window " << Number(Median(startBare), 2)
           << " ms, the dump's round trip through the daemon alone " << Number(Median(dumpTrip), 2)
           << " ms.\n"
           << "Start-up of the program in parts: its window mapped after " << Number(Median(startMapped), 2)
           << " ms, the dump read after " << Number(Median(startDumpRead), 2) << " ms.\n"
           << "CPU time used up to the idle window (start-up and first paint): program "
           << Number(Median(startCpu), 0) << " ms, bare window " << Number(Median(startCpuBare), 0)
           << " ms.\n"
           << "Medians of " << runs << " alternating runs (idle: " << idleRuns << " run(s) of " << idleSeconds
           << " s, program and bare window side by side).\n";
    std::printf("%s", detail.str().c_str());
    std::ofstream(dir + "/results.md") << md.str() << detail.str();
    std::ofstream(dir + "/results.tsv") << tsv.str();
    return 0;
}
