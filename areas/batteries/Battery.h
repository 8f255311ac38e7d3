// The battery driver's files under /proc/H8: copied into the capture files /tmp/state and /tmp/info,
// then turned into the battery tab's rows. Values are shown as the driver writes them. Where the
// driver is missing (neither battery's state file is there), the kernel's power-supply class gives
// the batteries and their rows instead (areas/batteries/PowerSupply.h).
#pragma once

#include "machine/Message.h"
#include "machine/Rows.h"

#include <QStringList>

namespace Ucomtc {

class Batteries
{
public:
    virtual ~Batteries() = default;

    // The battery selector's entries: see BatteryEntries.
    virtual QStringList Entries() = 0;
    // Copies a battery's files into the capture files: see CopyBatteryFiles.
    virtual Messages Copy(int battery) = 0;
    // Removes the capture files that Copy leaves when nothing read them.
    virtual Messages RemoveCopies() = 0;
};

class MachineBatteries final : public Batteries
{
public:
    QStringList Entries() override;
    Messages Copy(int battery) override;
    Messages RemoveCopies() override;
};

// Whether the old battery driver is there: a state file for either battery.
bool BatteryDriverPresent();

// The battery selector's entries, one for each battery whose state file is there: "Battery1" for
// the first battery (BAT0), "Battery2" for the second (BAT1). Without the driver, one for each
// battery of the power-supply class, in name order.
QStringList BatteryEntries();
// The battery behind a selector entry "BatteryN": N - 1, or -1 for any other text.
int BatteryOfEntry(const QString& entry);

// Copies a battery's files into the capture files. Battery 0 falls back to battery 1 when its pair
// of files is incomplete; battery 1 has no fallback. A battery without both of its files gets a
// message and nothing is copied; any other number does nothing. Without the driver nothing needs
// copying: only when the power-supply class has no such battery either comes the message.
Messages CopyBatteryFiles(int battery);
// Removes the capture files CopyBatteryFiles leaves when nothing read them.
Messages RemoveBatteryCopies();

// The battery tab's rows from the capture files, which are removed: 15 on AC power, 18 otherwise.
// Without the driver, the rows of `battery` (a number as BatteryOfEntry gives) from the
// power-supply class; none for a battery it does not have.
TSysInfoArray ReadBatteryRows(int battery);

} // namespace Ucomtc
