// The kernel's power-supply class (/sys/class/power_supply): the batteries and the AC adapter as
// today's kernels report them, where the old battery driver under /proc/H8 is missing. The battery
// tab's rows come out with the attributes, units and layout of the driver's rows; what a battery
// does not report reads "Unknown".
#pragma once

#include "machine/Rows.h"

#include <QStringList>

namespace Ucomtc {

// The supplies of type Battery that power the notebook (not a mouse's or a phone's), in name order.
QStringList PowerSupplyBatteries();

// The battery tab's rows for one of them: 15 on AC power, 18 otherwise.
TSysInfoArray PowerSupplyRows(const QString& battery);

} // namespace Ucomtc
