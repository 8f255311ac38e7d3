// A screen of a chosen size and pixel ratio for tests that depend on it (placement, HiDPI): the
// offscreen platform reads its screens from a file named in QT_QPA_PLATFORM.
#pragma once

#include <QSize>

// Call before the application object exists. `size` is in device-independent pixels.
void UseVirtualScreen(QSize size, double devicePixelRatio = 1.0);

// The size named by LAPSTONE_TEST_SCREEN ("1366x768"), or `fallback` when it is unset or malformed.
QSize ScreenSizeFromEnvironment(QSize fallback);
