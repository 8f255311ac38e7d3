// lapstone-vcd: the privileged helper of the notebook configuration program.

#include "Log.h"
#include "Options.h"
#include "Server.h"

#include <cstdio>
#include <linux/close_range.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    std::string error;
    const auto options = Vcd::ParseOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "lapstone-vcd: %s\n%s", error.c_str(), Vcd::Usage());
        return 2;
    }
    if (options->help) {
        std::fputs(Vcd::Usage(), stdout);
        return 0;
    }
    if (options->version) {
        std::fputs(Vcd::VersionText(), stdout);
        return 0;
    }
    // Nothing of whoever started us reaches the commands we run: no descriptors beyond the three
    // standard ones, no working directory, no umask.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    if (::chdir("/") != 0)
        return 1;
    ::umask(0077);
    if (::geteuid() != 0)
        Vcd::LogMessage("warning: not running as root; the commands will fail");
    return Vcd::RunServer(options->server);
}
