// The rows of the system information dialog: labelled values gathered from the DMI dump, a few
// /proc files and the battery driver's files, one table per tab.
#pragma once

#include "machine/Message.h"

#include <QList>
#include <QString>

namespace Ucomtc {

struct TSysInfoRec
{
    QString Attribute;
    QString Value;
};

// Rows in display order.
using TSysInfoArray = QList<TSysInfoRec>;

enum SysInfoTab
{
    GeneralTab = 0,
    BiosTab = 1,
    BatteryTab = 2,
};

// The rows of `tab` (for the battery tab, of `battery`: see ReadBatteryRows). Without dmidecode the
// message "command dmidecode not found" comes back and there are no rows, whatever the tab; an
// unknown tab has none either. The DMI dump is taken afresh on every call, also for the battery
// tab, which leaves it in /tmp. Throws IoError when a capture file it just wrote cannot be read.
// A value that cannot be read shows as "Unknown".
Reading<TSysInfoArray> GetSysInfo(int tab, int battery = 0);

// The distribution's name from os-release text: PRETTY_NAME's value, unquoted, whole, at most 100
// characters; empty when the text has none.
QString PrettyName(const QByteArray& osRelease);
// The processor's model name from a "model name<TAB>: ..." line of /proc/cpuinfo: runs of blanks
// made one, none at the end, at most 100 characters.
QString ProcessorName(const QString& cpuinfoLine);

// Has the daemon remove the DMI dump that start-up and GetSysInfo leave in /tmp, when it is there.
Messages RemoveStoredDmi();

} // namespace Ucomtc
