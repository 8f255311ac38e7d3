// The main window's pictures.
#pragma once

#include <array>

namespace Ucomtc {

// Preview pictures, indexed by the category buttons' tags; the last one is the start picture.
inline constexpr std::array<const char*, 11> ImageFiles{
    "/opt/lapstone/vc/bin/image/sysinfo.jpg",  "/opt/lapstone/vc/bin/image/nubstick.jpg",
    "/opt/lapstone/vc/bin/image/audio.jpg",    "/opt/lapstone/vc/bin/image/display.jpg",
    "/opt/lapstone/vc/bin/image/modem.jpg",    "/opt/lapstone/vc/bin/image/touchpad.jpg",
    "/opt/lapstone/vc/bin/image/network.jpg",  "/opt/lapstone/vc/bin/image/power.jpg",
    "/opt/lapstone/vc/bin/image/infrared.jpg", "/opt/lapstone/vc/bin/image/security.jpg",
    "/opt/lapstone/vc/bin/image/origin.jpg"};
inline constexpr int StartImageIndex = 10;

} // namespace Ucomtc
