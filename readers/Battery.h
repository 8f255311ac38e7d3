// The battery driver's files under /proc/H8: copied into the capture files /tmp/state and /tmp/info,
// then turned into the battery tab's rows. Values are shown as the driver writes them.
#pragma once

#include "readers/SysInfo.h"

#include <QStringList>

namespace Ucomtc {

// The battery selector's entries, one for each battery whose state file is there: "Battery1" for
// the first battery (BAT0), "Battery2" for the second (BAT1).
QStringList BatteryEntries();
// The battery behind a selector entry: 0, 1, or -1 for any other text.
int BatteryOfEntry(const QString& entry);

// Copies a battery's files into the capture files. Battery 0 falls back to battery 1 when its pair
// of files is incomplete; battery 1 has no fallback. A battery without both of its files gets a
// message and nothing is copied; any other number does nothing.
Messages CopyBatteryFiles(int battery);
// Removes the capture files CopyBatteryFiles leaves when nothing read them.
Messages RemoveBatteryCopies();

// The battery tab's rows from the capture files, which are removed: 15 on AC power, 18 otherwise.
TSysInfoArray ReadBatteryRows();

} // namespace Ucomtc
