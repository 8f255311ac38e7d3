// The program's command-line options. Without any of its own options the program opens its window
// and leaves the rest of the command line to Qt.
#pragma once

#include <optional>

// Runs what the command line asks for without a window: the exit status, or nothing when the
// window is to open.
std::optional<int> RunCommandLine(int argc, char* argv[]);
