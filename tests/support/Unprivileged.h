// File permissions do not hold for root, and CI runs as root. Tests about unreadable files run
// their body through RunUnprivileged, in a child that has given up root.
#pragma once

#include <functional>

// Runs `body` as the unprivileged user 65534 when the test runs as root (in a forked child), or
// directly otherwise. Returns body's result, or -1 when the child could not run it.
int RunUnprivileged(const std::function<int()>& body);
