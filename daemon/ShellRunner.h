// Runs one of the table's fixed shell texts as root, with nothing inherited from any client.
#pragma once

#include <chrono>

namespace Vcd {

inline constexpr const char* CommandPath = "PATH=/usr/sbin:/usr/bin:/sbin:/bin";
inline constexpr const char* CommandLocale = "LC_ALL=C";

// Runs `/bin/sh -c text` with its standard output on `outputFd`, standard input and error on
// /dev/null, a fixed environment and default signal handling, in a process group of its own.
// A run that outlasts `limit` is killed with its whole group. True when the shell exits with 0.
bool RunShell(const char* text, int outputFd, std::chrono::milliseconds limit);

} // namespace Vcd
