// The command line of the daemon.
#pragma once

#include "Server.h"

#include <optional>
#include <string>

namespace Vcd {

struct Options
{
    ServerSettings server;
    bool help = false;
    bool version = false;
};

// Parses argv; on a mistake returns nothing and puts the reason into `error`.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);

const char* Usage();

// "lapstone-vcd" and the release, one line.
const char* VersionText();

} // namespace Vcd
