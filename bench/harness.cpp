// lapstone-bench DIR RUNS IDLE_RUNS IDLE_SECONDS
//
// Runs inside the simulated notebook as root (run-in-sim.sh --as-root) and measures the program
// from outside, each figure against its floor in the same run, ours and floor taking turns. The
// program, the tour and the same-forms program run as the notebook's user, as a person would
// start them, on the desktop's session bus (the notebook's when it gives one, else one started
// here for the user). A dialog's floor runs each of its command lines through a /bin/sh -c of its
// own, as the user who ran it in the program (system() and the shell: the user; the daemon: root).
// DIR holds bench-same-forms and lapstone-bench-tour and receives results.tsv and results.md.
//
// Every program is timed alike from outside, from its fork: "mapped" is the X server's map
// notification for its new top-level window, "drawn" the X server's first DAMAGE report on that
// window after it that leaves more than one colour in it (the program's first drawing of its own,
// not a fill with one colour); "dump taken and vendor check done" is the program closing
// /tmp/StoredDmi after reading it, seen through inotify. Where hardinfo is installed it is timed
// the same way, as a peer.
#include <xcb/damage.h>
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
#include <functional>
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
// The timing peer: Debian's GTK system-information tool, started and timed as the program is (the
// notebook sees the host's /usr). Its rows are left out where it is not installed.
const char* const Peer = "/usr/bin/hardinfo";
const char* const Socket = "/tmp/vx_vc_socket";
const char* const DumpCommand = "dmidecode > /tmp/StoredDmi";
const char* const UserHome = "/home/lapstone";
const char* const UserRuntime = "/run/user/1000";
const uid_t UserId = 1000;
// The daemon's environment for the shells it starts (daemon/ShellRunner.h).
const char* const DaemonPath = "PATH=/usr/sbin:/usr/bin:/sbin:/bin";
const char* const DaemonLocale = "LC_ALL=C";
// Each figure's budget: ours may be at most this many times its floor.
const double StartBudget = 1.1;
const double DialogBudget = 1.1;
const double MemoryBudget = 1.1;
const double DaemonBudget = 1.1;
const double PeerDrawBudget = 1.0;
const double PeerMemoryBudget = 1.2;
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
    struct stat info = {};
    return ::stat("/run/host-proc/self", &info) == 0 ? "/run/host-proc" : "/proc";
}

std::string Env(const char* name, const char* fallback = "")
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : fallback;
}

// The session bus every process of the desktop is given; empty until one is found or started.
std::string SessionBus;

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
    if (!SessionBus.empty())
        env.push_back("DBUS_SESSION_BUS_ADDRESS=" + SessionBus);
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

// Starts `path` with `argv` and `envp`, input on /dev/null, output to `output` (/dev/null when -1);
// `asUser` runs it as the notebook's user in the user's home, otherwise it stays root.
pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& envp, bool asUser,
            int output = -1)
{
    std::vector<char*> args = Pointers(argv), env = Pointers(envp);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(output >= 0 ? output : null, 1);
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

// Runs one command line through /bin/sh -c of its own, as system() would, and returns how long it
// took from the fork to the shell's end. A line the program ran through system() or its shell
// runs as the user with the user's environment; a line the daemon ran runs as root with the
// daemon's environment, and the capture files it makes are then handed to the user, as the
// daemon makes them for the one who asked (not timed).
double RunLine(const std::string& runner, const std::string& line)
{
    const bool asUser = runner != "root";
    const auto t0 = Clock::now();
    const pid_t pid =
        Spawn({"/bin/sh", "-c", line},
              asUser ? UserEnvironment() : std::vector<std::string>{DaemonPath, DaemonLocale}, asUser);
    int status = 0;
    ::waitpid(pid, &status, 0);
    const double ms = Ms(t0, Clock::now());
    if (!asUser) {
        const auto handOver = [](const char* file) {
            struct stat info = {};
            if (::lstat(file, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == 0)
                ::chown(file, UserId, UserId);
        };
        for (const char* file : CaptureFiles)
            handOver(file);
        handOver("/tmp/StoredDmi");
    }
    return ms;
}

// A figure's command lines as the tour noted them: "runner<TAB>line" each.
std::vector<std::pair<std::string, std::string>> ReadLines(const std::string& path)
{
    std::vector<std::pair<std::string, std::string>> lines;
    std::ifstream file(path);
    std::string text;
    while (std::getline(file, text)) {
        const auto tab = text.find('\t');
        if (tab != std::string::npos)
            lines.emplace_back(text.substr(0, tab), text.substr(tab + 1));
    }
    return lines;
}

// The desktop's session bus, started for the notebook's user. Every desktop has one; without it
// the toolkit's D-Bus library starts dbus-launch and a dbus-daemon of its own on every start of
// every Qt program, which no desktop user pays. Returns the bus daemon's process id, or -1.
pid_t StartSessionBus()
{
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return -1;
    const pid_t starter =
        Spawn({"/usr/bin/dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"},
              UserEnvironment(), true, pipe[1]);
    ::close(pipe[1]);
    // Two lines: the address, then the process id of the daemon it forked.
    std::string text;
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (std::count(text.begin(), text.end(), '\n') < 2 && Clock::now() < deadline) {
        pollfd fd = {pipe[0], POLLIN, 0};
        if (::poll(&fd, 1, 200) <= 0)
            continue;
        char buffer[512];
        const ssize_t got = ::read(pipe[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        text.append(buffer, static_cast<size_t>(got));
    }
    ::close(pipe[0]);
    ::waitpid(starter, nullptr, 0);
    std::istringstream lines(text);
    std::string address, pid;
    if (!std::getline(lines, address) || !std::getline(lines, pid) || address.empty() || pid.empty())
        return -1;
    SessionBus = address;
    return static_cast<pid_t>(std::stol(pid));
}

// One request to the daemon, as the program's client sends it; true when the daemon replied that
// it carried the line out (a refusal, say of a capture file another user still holds, is quick and
// would make a round trip look faster than it is).
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
            std::uint32_t reply = 1;
            answered = ::recv(fd, &reply, sizeof reply, MSG_WAITALL) == sizeof reply && reply == 0;
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
        // The damage objects report drawing; without the extension there is no first drawing to see.
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection_, &xcb_damage_id);
        if (damage == nullptr || !damage->present) {
            std::fprintf(stderr, "lapstone-bench: the display has no DAMAGE extension\n");
            std::exit(1);
        }
        damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
        std::free(xcb_damage_query_version_reply(connection_, xcb_damage_query_version(connection_, 1, 1),
                                                 nullptr));
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
        StopDamage();
        window_ = 0;
        mapped_.reset();
        drawn_.reset();
        dumpRead_.reset();
    }

    // Waits until a top-level window is mapped and drawn and, when `dump`, the dump has been read.
    bool Wait(bool dump, int timeoutMs = 20000)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!(drawn_ && (!dump || dumpRead_))) {
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
    Clock::time_point drawn() const { return *drawn_; }
    std::optional<Clock::time_point> dumpRead() const { return dumpRead_; }
    Clock::time_point ready() const { return std::max(*drawn_, dumpRead_.value_or(*drawn_)); }

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

    // Whether the window shows a single colour along its middle row and middle column: GTK has a
    // window filled with its background colour before it draws anything, and Qt's first copy of
    // its backing store to a new window is all black; neither is the program's drawing. A few
    // kilobytes read from the server.
    bool OneColour(uint16_t width, uint16_t height)
    {
        const xcb_rectangle_t lines[] = {{0, static_cast<int16_t>(height / 2), width, 1},
                                         {static_cast<int16_t>(width / 2), 0, 1, height}};
        std::optional<uint32_t> colour;
        for (const auto& line : lines) {
            auto* image = xcb_get_image_reply(connection_,
                                              xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_,
                                                            line.x, line.y, line.width, line.height, ~0u),
                                              nullptr);
            if (image == nullptr)
                return false;
            const int length = xcb_get_image_data_length(image);
            const uint8_t* data = xcb_get_image_data(image);
            bool same = true;
            // 24 and 32 bit visuals: four bytes a pixel, the top one unused.
            for (int at = 0; at + 4 <= length && same; at += 4) {
                uint32_t pixel = 0;
                std::memcpy(&pixel, data + at, 4);
                pixel &= 0xffffffu;
                if (!colour)
                    colour = pixel;
                same = pixel == *colour;
            }
            std::free(image);
            if (!same)
                return false;
        }
        return true;
    }

    void StopDamage()
    {
        if (damage_ == 0)
            return;
        xcb_damage_destroy(connection_, damage_);
        xcb_flush(connection_);
        damage_ = 0;
    }

    void Drain(Clock::time_point now)
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            const int type = event->response_type & 0x7f;
            if (type == XCB_MAP_NOTIFY) {
                auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (!map->override_redirect && !mapped_) {
                    mapped_ = now;
                    window_ = map->window;
                    // Watched from its mapping on: its first drawing is the first report after it.
                    damage_ = xcb_generate_id(connection_);
                    xcb_damage_create(connection_, damage_, window_, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                    xcb_flush(connection_);
                }
            } else if (type == damageEvent_) {
                auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event);
                if (damage_ != 0 && damage->damage == damage_ && !drawn_) {
                    // Armed again before looking, so that drawing from now on is reported anew.
                    xcb_damage_subtract(connection_, damage_, XCB_NONE, XCB_NONE);
                    if (!OneColour(damage->geometry.width, damage->geometry.height)) {
                        drawn_ = now;
                        StopDamage();
                    }
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
    xcb_damage_damage_t damage_ = 0;
    uint8_t damageEvent_ = 0;
    int inotify_;
    std::optional<Clock::time_point> mapped_;
    std::optional<Clock::time_point> drawn_;
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
    double drawnMs = NAN;    // its first drawing alone
    double dumpReadMs = NAN; // the dump read alone
};

// Starts `argv` as the user and waits until its window is drawn (and the dump read, when `dump`).
Started Start(Watcher& watcher, const std::vector<std::string>& argv, bool dump)
{
    watcher.Reset();
    const auto t0 = Clock::now();
    Started started{SpawnAsUser(argv), NAN};
    if (watcher.Wait(dump)) {
        started.ms = Ms(t0, watcher.ready());
        started.mappedMs = Ms(t0, watcher.mapped());
        started.drawnMs = Ms(t0, watcher.drawn());
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

// A "figure<TAB>value" table that the tour or the same-forms program wrote into `dir`.
std::map<std::string, double> ReadTour(const std::string& dir, const std::string& file)
{
    std::map<std::string, double> values;
    std::ifstream table(dir + "/" + file);
    std::string name;
    double value;
    while (table >> name >> value)
        values[name] = value;
    return values;
}

bool Exists(const std::string& path)
{
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0;
}

// How a row is judged: its ratio against a budget, every run at zero, or every client answered.
enum class Check
{
    Ratio,
    Zero,
    All,
};

struct Row
{
    std::string figure;
    std::string unit;
    std::vector<double> ours;
    std::vector<double> floor;
    Check check = Check::Ratio;
    double budget = NAN;
};

std::string Number(double value, int decimals)
{
    if (std::isnan(value))
        return "n/a";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

struct Judged
{
    std::string ours, floor, ratio, budget, verdict;
    double oursValue = NAN, floorValue = NAN;
};

// The row's figures as the table shows them. Ratios are judged as printed, to two places: a 1.10
// is within a budget of 1.1. Idle rows give the largest of the runs (a single wake-up in any run is
// one too many), the clients' answers the fewest.
Judged Judge(const Row& row)
{
    Judged judged;
    const int decimals = row.unit == "count" ? 0 : (row.unit == "MiB" ? 1 : 2);
    auto valid = [](const std::vector<double>& values) {
        std::vector<double> kept;
        for (double value : values) {
            if (!std::isnan(value))
                kept.push_back(value);
        }
        return kept;
    };
    const std::vector<double> ours = valid(row.ours);
    switch (row.check) {
    case Check::Ratio:
        judged.oursValue = Median(row.ours);
        break;
    case Check::Zero:
        judged.oursValue = ours.empty() ? NAN : *std::max_element(ours.begin(), ours.end());
        break;
    case Check::All:
        judged.oursValue = ours.empty() ? NAN : *std::min_element(ours.begin(), ours.end());
        break;
    }
    const std::vector<double> floor = valid(row.floor);
    judged.floorValue = row.check == Check::Zero && !floor.empty()
                            ? *std::max_element(floor.begin(), floor.end())
                            : Median(row.floor);
    judged.ours = Number(judged.oursValue, decimals);
    judged.floor = Number(judged.floorValue, decimals);
    const bool measured = !std::isnan(judged.oursValue) && !std::isnan(judged.floorValue);
    const double ratio = measured && judged.floorValue > 0 ? judged.oursValue / judged.floorValue : NAN;
    judged.ratio = Number(ratio, 2);
    bool met = false;
    switch (row.check) {
    case Check::Ratio:
        judged.budget = Number(row.budget, 1);
        met = !std::isnan(ratio) && std::round(ratio * 100) <= std::round(row.budget * 100);
        break;
    case Check::Zero:
        judged.budget = "0";
        met = measured && judged.oursValue == 0;
        break;
    case Check::All:
        judged.budget = "all";
        met = measured && judged.oursValue == judged.floorValue;
        break;
    }
    judged.verdict = !measured ? "not measured" : (met ? "met" : "not met");
    return judged;
}

// Starts the program and closes it again, unmeasured: the first start after the notebook is made
// reads every library from a cold cache and may have the session bus start its helpers.
void WarmUp(Watcher& watcher, const std::string& program, bool dump)
{
    Started started = Start(watcher, {program}, dump);
    if (started.pid > 0)
        Stop(watcher, started.pid);
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
    const std::string sameForms = dir + "/bench-same-forms";
    const std::string tourProgram = dir + "/lapstone-bench-tour";

    // The user's runtime folder and a copy of the display's key it may read.
    ::mkdir(UserRuntime, 0700);
    ::chown(UserRuntime, UserId, UserId);
    const std::string key = std::string(UserRuntime) + "/Xauthority";
    RunSh({"-c", "cp '" + Env("XAUTHORITY") + "' " + key + " 2>/dev/null || : > " + key});
    ::chown(key.c_str(), UserId, UserId);
    ::chown(dir.c_str(), UserId, UserId);

    // The session bus: the notebook's, when its launcher gives one, else one of our own.
    SessionBus = Env("DBUS_SESSION_BUS_ADDRESS");
    pid_t busDaemon = -1;
    const std::string busOrigin =
        SessionBus.empty() ? "started by the harness for the user" : "the notebook's";
    if (SessionBus.empty()) {
        busDaemon = StartSessionBus();
        if (busDaemon < 0) {
            std::fprintf(stderr, "lapstone-bench: cannot start a session bus (/usr/bin/dbus-daemon, Debian "
                                 "package dbus-daemon)\n");
            return 1;
        }
    }
    std::fprintf(stderr, "lapstone-bench: session bus %s: %s\n", busOrigin.c_str(), SessionBus.c_str());

    const bool peer = ::access(Peer, X_OK) == 0;
    Watcher watcher;
    WarmUp(watcher, Program, true);
    WarmUp(watcher, sameForms, false);
    if (peer)
        WarmUp(watcher, Peer, false);

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
    std::vector<double> startOurs, startForms, dumpTrip, startFloor, startMapped, startDrawn, startDumpRead;
    std::vector<double> startFormsMapped, peerDrawn, peerMapped, rssPeer;
    std::vector<double> rssOurs, rssFormsTour, rssStart, rssForms, trip, tripSh, crowd, crowdSh, answered;
    std::map<std::string, std::vector<double>> dialogOurs, dialogFloor, dialogLines, dialogForm;
    std::map<std::string, size_t> lineCount;

    for (int run = 0; run < runs; ++run) {
        std::fprintf(stderr, "lapstone-bench: run %d of %d\n", run + 1, runs);
        // 1. Start-up: the program, the same-forms program and the peer, each run's order turned by
        // one, then the dump through the daemon alone. Each one's peak memory is read 0.3 s after
        // it is up.
        const auto keepPeak = [&](pid_t pid, std::vector<double>& peaks) {
            if (pid <= 0)
                return;
            ::usleep(300000);
            peaks.push_back(StatusField(pid, "", "VmHWM") / 1024.0);
            Stop(watcher, pid);
        };
        const auto startOurSide = [&] {
            Started ours = Start(watcher, {Program}, true);
            startOurs.push_back(ours.ms);
            startMapped.push_back(ours.mappedMs);
            startDrawn.push_back(ours.drawnMs);
            startDumpRead.push_back(ours.dumpReadMs);
            keepPeak(ours.pid, rssStart);
        };
        const auto startFloorSide = [&] {
            Started floor = Start(watcher, {sameForms}, false);
            startForms.push_back(floor.ms);
            startFormsMapped.push_back(floor.mappedMs);
            keepPeak(floor.pid, rssForms);
        };
        const auto startPeerSide = [&] {
            Started peer = Start(watcher, {Peer}, false);
            peerDrawn.push_back(peer.drawnMs);
            peerMapped.push_back(peer.mappedMs);
            keepPeak(peer.pid, rssPeer);
        };
        std::vector<std::function<void()>> sides = {startOurSide, startFloorSide};
        if (peer)
            sides.push_back(startPeerSide);
        std::rotate(sides.begin(), sides.begin() + run % sides.size(), sides.end());
        for (const auto& side : sides)
            side();
        auto t0 = Clock::now();
        const bool dumped = AskDaemon(DumpCommand);
        dumpTrip.push_back(dumped ? Ms(t0, Clock::now()) : NAN);
        startFloor.push_back(startForms.back() + dumpTrip.back());
        ::unlink("/tmp/StoredDmi");

        // 2 and 3. The dialogs and the memory after them; then the same forms shown by the
        // same-forms program, and each dialog's command lines, one /bin/sh -c each.
        const std::string tourDir = dir + "/tour-" + std::to_string(run + 1);
        ::mkdir(tourDir.c_str(), 0755);
        ::chown(tourDir.c_str(), UserId, UserId);
        const auto runToEnd = [](const std::vector<std::string>& argv, const char* what) {
            const pid_t pid = SpawnAsUser(argv);
            if (!WaitExit(pid, 60000)) {
                std::fprintf(stderr, "lapstone-bench: %s did not end\n", what);
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        };
        runToEnd({tourProgram, tourDir}, "the tour");
        ::unlink("/tmp/StoredDmi");
        for (const char* file : CaptureFiles)
            ::unlink(file);
        runToEnd({sameForms, "--dialogs", tourDir}, "the same-forms program's tour");
        const auto measured = ReadTour(tourDir, "tour.tsv");
        const auto forms = ReadTour(tourDir, "forms.tsv");
        for (const auto& [figure, title] : dialogs) {
            const auto found = measured.find(figure);
            const auto form = forms.find(figure);
            dialogOurs[figure].push_back(found != measured.end() ? found->second : NAN);
            const std::string linesFile = tourDir + "/" + figure + ".lines.tsv";
            if (found == measured.end() || form == forms.end() || !Exists(linesFile)) {
                dialogFloor[figure].push_back(NAN);
                continue;
            }
            double lines = 0;
            const auto ran = ReadLines(linesFile);
            for (const auto& [runner, line] : ran)
                lines += RunLine(runner, line);
            for (const char* file : CaptureFiles)
                ::unlink(file);
            ::unlink("/tmp/StoredDmi");
            lineCount[figure] = ran.size();
            dialogLines[figure].push_back(lines);
            dialogForm[figure].push_back(form->second);
            dialogFloor[figure].push_back(lines + form->second);
        }
        const auto rss = measured.find("peak-rss-kib");
        rssOurs.push_back(rss != measured.end() ? rss->second / 1024.0 : NAN);
        const auto formsRss = forms.find("peak-rss-kib");
        rssFormsTour.push_back(formsRss != forms.end() ? formsRss->second / 1024.0 : NAN);

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

    // 5. Idle: the program and the same-forms program open side by side and untouched.
    std::vector<double> idleCpu, idleCpuForms, idleWake, idleWakeForms, startCpu, startCpuForms;
    for (int run = 0; run < idleRuns; ++run) {
        std::fprintf(stderr, "lapstone-bench: idle %d of %d (%d s)\n", run + 1, idleRuns, idleSeconds);
        Started ours = Start(watcher, {Program}, true);
        Watcher formsWatcher;
        Started floor = Start(formsWatcher, {sameForms}, false);
        if (ours.pid > 0 && floor.pid > 0 && !std::isnan(ours.ms) && !std::isnan(floor.ms)) {
            ::sleep(1);
            const Usage a0 = ReadUsage(ours.pid), b0 = ReadUsage(floor.pid);
            startCpu.push_back(a0.cpuMs);
            startCpuForms.push_back(b0.cpuMs);
            ::sleep(static_cast<unsigned>(idleSeconds));
            const Usage a1 = ReadUsage(ours.pid), b1 = ReadUsage(floor.pid);
            idleCpu.push_back(a1.cpuMs - a0.cpuMs);
            idleCpuForms.push_back(b1.cpuMs - b0.cpuMs);
            idleWake.push_back(static_cast<double>(a1.switches - a0.switches));
            idleWakeForms.push_back(static_cast<double>(b1.switches - b0.switches));
        }
        if (floor.pid > 0)
            Stop(formsWatcher, floor.pid);
        if (ours.pid > 0)
            Stop(watcher, ours.pid);
    }
    if (busDaemon > 0)
        ::kill(busDaemon, SIGTERM);

    std::vector<Row> rows = {{"start-up: process start to window drawn, dump read", "ms", startOurs,
                              startFloor, Check::Ratio, StartBudget}};
    for (const auto& [figure, title] : dialogs)
        rows.push_back(
            {"dialog: " + title, "ms", dialogOurs[figure], dialogFloor[figure], Check::Ratio, DialogBudget});
    rows.push_back({"peak RSS after the tour", "MiB", rssOurs, rssFormsTour, Check::Ratio, MemoryBudget});
    rows.push_back({"peak RSS of the program itself after start-up", "MiB", rssStart, rssForms, Check::Ratio,
                    MemoryBudget});
    rows.push_back({"daemon: one request's round trip", "ms", trip, tripSh, Check::Ratio, DaemonBudget});
    rows.push_back(
        {"daemon: 50 concurrent clients, all answered", "ms", crowd, crowdSh, Check::Ratio, DaemonBudget});
    rows.push_back({"daemon: 50 concurrent clients, answers", "count", answered,
                    std::vector<double>(answered.size(), 50), Check::All});
    if (peer) {
        rows.push_back({"peer: first drawing, program against hardinfo", "ms", startDrawn, peerDrawn,
                        Check::Ratio, PeerDrawBudget});
        rows.push_back({"peer: peak RSS after start-up, program against hardinfo", "MiB", rssStart, rssPeer,
                        Check::Ratio, PeerMemoryBudget});
    }
    const std::string idle = "idle " + std::to_string(idleSeconds) + " s: ";
    rows.push_back({idle + "CPU time", "ms", idleCpu, idleCpuForms, Check::Zero});
    rows.push_back({idle + "wake-ups (context switches)", "count", idleWake, idleWakeForms, Check::Zero});

    std::ostringstream md;
    md << "| Figure | Unit | Ours | Floor | Ratio | Budget | Verdict |\n|---|---|---:|---:|---:|---:|---|\n";
    std::ostringstream tsv;
    std::printf("%-52s %-5s %9s %9s %6s %6s  %s\n", "figure", "unit", "ours", "floor", "ratio", "budget",
                "verdict");
    int unmet = 0;
    for (const Row& row : rows) {
        const Judged j = Judge(row);
        unmet += j.verdict == "met" ? 0 : 1;
        std::printf("%-52s %-5s %9s %9s %6s %6s  %s\n", row.figure.c_str(), row.unit.c_str(), j.ours.c_str(),
                    j.floor.c_str(), j.ratio.c_str(), j.budget.c_str(), j.verdict.c_str());
        md << "| " << row.figure << " | " << row.unit << " | " << j.ours << " | " << j.floor << " | "
           << j.ratio << " | " << j.budget << " | " << j.verdict << " |\n";
        tsv << row.figure << '\t' << row.unit << '\t' << Number(j.oursValue, 3) << '\t'
            << Number(j.floorValue, 3) << '\t' << j.ratio << '\t' << j.budget << '\t' << j.verdict << '\n';
    }
    std::ostringstream detail;
    detail << "\n"
           << rows.size() - static_cast<size_t>(unmet) << " of " << rows.size() << " rows met.\n\n"
           << "Start-up floor in parts: the same forms mapped after " << Number(Median(startFormsMapped), 2)
           << " ms and drawn after " << Number(Median(startForms), 2)
           << " ms, the dump's round trip through the daemon alone " << Number(Median(dumpTrip), 2)
           << " ms.\n"
           << "Start-up of the program in parts: its window mapped after " << Number(Median(startMapped), 2)
           << " ms, drawn after " << Number(Median(startDrawn), 2) << " ms, the dump read after "
           << Number(Median(startDumpRead), 2) << " ms.\n";
    if (peer)
        detail << "Peer (" << Peer << "): its window mapped after " << Number(Median(peerMapped), 2)
               << " ms, drawn after " << Number(Median(peerDrawn), 2) << " ms.\n";
    else
        detail << "Peer rows left out: " << Peer << " is not installed (Debian package hardinfo).\n";
    detail << "Dialog floors in parts (command lines, one /bin/sh -c each, + the same form in the "
              "same-forms program):";
    for (const auto& [figure, title] : dialogs) {
        detail << (figure == dialogs.front().first ? " " : "; ") << title << " " << lineCount[figure]
               << " lines " << Number(Median(dialogLines[figure]), 2) << " ms + "
               << Number(Median(dialogForm[figure]), 2) << " ms";
    }
    detail << ".\n"
           << "CPU time used up to the idle window (start-up and first paint): program "
           << Number(Median(startCpu), 0) << " ms, same forms " << Number(Median(startCpuForms), 0)
           << " ms.\n"
           << "Medians of " << runs << " alternating runs; idle rows: the largest of " << idleRuns
           << " run(s) of " << idleSeconds
           << " s, program and same forms side by side; answers: the fewest of the runs. Session bus: "
           << busOrigin << ".\n";
    std::printf("%s", detail.str().c_str());
    std::ofstream(dir + "/results.md") << md.str() << detail.str();
    std::ofstream(dir + "/results.tsv") << tsv.str();
    return 0;
}
