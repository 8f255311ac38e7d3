#include "Options.h"

#include "Protocol.h"

#include <charconv>
#include <string_view>

namespace Vcd {
namespace {

bool ParseSeconds(std::string_view text, std::chrono::milliseconds& result)
{
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > 3600)
        return false;
    result = std::chrono::seconds(value);
    return true;
}

// Milliseconds from 0 to an hour.
bool ParseMilliseconds(std::string_view text, std::chrono::milliseconds& result)
{
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 3'600'000)
        return false;
    result = std::chrono::milliseconds(value);
    return true;
}

} // namespace

const char* Usage()
{
    return "Usage: lapstone-vcd [--socket PATH] [--command-timeout SECONDS] | --help | --version\n"
           "Carries out the notebook configuration program's fixed privileged commands for local\n"
           "users. Runs in the foreground as root and logs one line per request to standard error.\n"
           "  --socket PATH               listen on PATH (default /tmp/vx_vc_socket)\n"
           "  --command-timeout SECONDS   kill a command that runs longer (default 20)\n"
           "  -h, --help                  show this text and end\n"
           "  --version                   show the release and end\n";
}

const char* VersionText()
{
    return "lapstone-vcd " LAPSTONE_VERSION "\n";
}

std::optional<Options> ParseOptions(int argc, char** argv, std::string& error)
{
    Options options;
    options.server.socketPath = DefaultSocketPath;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (option == "--version") {
            options.version = true;
            continue;
        }
        // --live-capture-age is left out of the usage text: it is there for the tests, which make
        // a capture stand long enough to look at it before another user's takes its name.
        if (option != "--socket" && option != "--command-timeout" && option != "--live-capture-age") {
            error = "unknown option " + std::string(option);
            return std::nullopt;
        }
        if (i + 1 >= argc) {
            error = std::string(option) + " needs a value";
            return std::nullopt;
        }
        const std::string_view value = argv[++i];
        if (option == "--socket") {
            options.server.socketPath = value;
        } else if (option == "--live-capture-age") {
            if (!ParseMilliseconds(value, options.server.connection.limits.liveCaptureAge)) {
                error = "--live-capture-age takes whole milliseconds from 0 to 3600000";
                return std::nullopt;
            }
        } else if (!ParseSeconds(value, options.server.connection.limits.commandTimeout)) {
            error = "--command-timeout takes whole seconds from 1 to 3600";
            return std::nullopt;
        }
    }
    return options;
}

} // namespace Vcd
