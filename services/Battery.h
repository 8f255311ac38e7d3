// The battery driver's files under /proc/H8: copied into the capture files /tmp/state and /tmp/info,
// then turned into the battery tab's rows. Values are shown as the driver writes them.
#pragma once

#include "SysInfo.h"

#include <QStringList>

namespace Ucomtc {

inline constexpr const char* MsgNoBatteryOrBatinfo =
    "Module batinfo is needed or there is no battery in the computer";
inline constexpr const char* MsgBatinfoNeeded = "Module batinfo is needed";

// The battery selector's entries, one for each battery whose state file is there: "Battery1" for
// the first battery (BAT0), "Battery2" for the second (BAT1).
QStringList BatteryEntries();
// The battery behind a selector entry: 0, 1, or -1 for any other text.
int BatteryOfEntry(const QString& entry);

// Battery 0 falls back to battery 1 when its pair of files is incomplete; battery 1 has no fallback.
// A battery without both of its files gets a message and nothing is copied; any other number does
// nothing.
void CopyBatteryFiles(int battery);

// The battery tab's rows from the capture files, which are removed: 15 on AC power, 18 otherwise.
void ReadBatteryRows(TSysInfoArray& rows);

} // namespace Ucomtc
