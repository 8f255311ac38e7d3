// The battery driver's files under /proc/H8: copied into the capture files /tmp/state and /tmp/info,
// then turned into the battery tab's rows. Values are shown as the driver writes them.
#pragma once

#include "SysInfo.h"

namespace Ucomtc {

inline constexpr const char* MsgNoBatteryOrBatinfo =
    "Module batinfo is needed or there is no battery in the computer";
inline constexpr const char* MsgBatinfoNeeded = "Module batinfo is needed";

// Battery 0 falls back to battery 1 when its pair of files is incomplete; battery 1 has no fallback.
// A battery without both of its files gets a message and nothing is copied; any other number does
// nothing.
void CopyBatteryFiles(int battery);

// The battery tab's rows from the capture files, which are removed: 15 on AC power, 18 otherwise.
void ReadBatteryRows(TSysInfoArray& rows);

} // namespace Ucomtc
