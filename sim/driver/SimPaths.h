// Where the simulated notebook keeps what the driver reads besides the program's own files.
#pragma once

inline constexpr const char* SimOutDirectory = "/run/lapstone-sim/out";
inline constexpr const char* SimToolLog = "/run/lapstone-sim/out/tools.log";
inline constexpr const char* SimDaemonLog = "/run/lapstone-sim/out/daemon.log";
