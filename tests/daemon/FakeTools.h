// Test doubles for what the daemon's commands touch: dmidecode and the pointing stick's rate file.
//
// The fake dmidecode prints a fixed dump, and leaves behind who ran it and with which environment,
// so a test can tell whether a command ran at all.
#pragma once

#include "Sandbox.h"

#include <memory>
#include <string>

namespace VcdTest {

inline constexpr const char* InitialRate = "55";

// The machine every daemon test starts from: the private namespace, scratch mounts over the
// daemon's fixed paths, the fake dmidecode, and the rate file holding InitialRate. Empty when it
// is ready, otherwise why not (the test then skips).
std::string PrepareMachine(std::unique_ptr<ScratchMounts>& mounts);

// The dump the fake prints, shaped like the real tool's output for the lines the commands grep.
extern const char* const FakeDump;

// Installs /usr/sbin/dmidecode (inside the scratch mounts). With `delaySeconds` the fake sleeps
// before printing; with `exitStatus` other than 0 it prints nothing and fails.
void InstallFakeDmidecode(double delaySeconds = 0, int exitStatus = 0);

// How many times the fake has run, and the environment of its last run ("NAME=value" lines).
int FakeDmidecodeRuns();
std::string FakeDmidecodeEnvironment();
// "uid cwd" of its last run.
std::string FakeDmidecodeIdentity();

// Small file helpers for the tests' checks.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text, unsigned mode = 0644);
bool Exists(const std::string& path);

} // namespace VcdTest
