// The machine's system information: the DMI dump that start-up takes and checks for the maker, the
// rows of the system information dialog's tabs (the general rows from a few /proc and /etc files and
// the dump, the BIOS rows from the dump, the battery rows from areas/batteries), and the BIOS
// passwords' states. The dialogs, the main window and the report only present them.
#pragma once

#include "areas/system/BiosPasswords.h"
#include "machine/Message.h"
#include "machine/Rows.h"

#include <QString>

namespace Ucomtc {

enum SysInfoTab
{
    GeneralTab = 0,
    BiosTab = 1,
    BatteryTab = 2,
};

// What start-up's DMI dump says of the machine: a VELTOR notebook, another maker's, or nothing
// (no dump, or an empty one).
enum class DumpVerdict
{
    Veltor,
    Foreign,
    Unread,
};

class SystemInformation
{
public:
    virtual ~SystemInformation() = default;

    // Has the daemon dump the DMI table into /tmp/StoredDmi and judges the maker: "can't get the
    // BIOS information" without a dump, "the device you are using is not from VELTOR" for another
    // maker's machine. Throws IoError when the dump is there but cannot be read.
    virtual Reading<DumpVerdict> DumpAtStart() = 0;
    // Has the daemon remove the DMI dump that start-up and Rows leave in /tmp, when it is there.
    virtual Messages RemoveStoredDmi() = 0;
    // The rows of `tab` (for the battery tab, of `battery`: see areas/batteries/Battery.h). Without
    // dmidecode the message "command dmidecode not found" comes back and there are no rows,
    // whatever the tab; an unknown tab has none either. The DMI dump is taken afresh on every
    // call, also for the battery tab, which leaves it in /tmp. Throws IoError when a capture file
    // it just wrote cannot be read. A value that cannot be read shows as "Unknown".
    virtual Reading<TSysInfoArray> Rows(int tab, int battery) = 0;
    // The BIOS passwords' states: see areas/system/BiosPasswords.h.
    virtual Reading<BiosPasswordStates> BiosPasswords() = 0;
};

class MachineSystemInformation final : public SystemInformation
{
public:
    Reading<DumpVerdict> DumpAtStart() override;
    Messages RemoveStoredDmi() override;
    Reading<TSysInfoArray> Rows(int tab, int battery) override;
    Reading<BiosPasswordStates> BiosPasswords() override;
};

// The value of `key` in os-release text (os-release(5)), unquoted and unescaped as the shell would;
// empty when the text has none.
QString OsReleaseValue(const QByteArray& osRelease, const QString& key);
// The distribution's name from os-release text: PRETTY_NAME's value, at most 100 characters;
// "Linux", the format's default, when the text has none.
QString PrettyName(const QByteArray& osRelease);
// The processor's model name from a "model name<TAB>: ..." line of /proc/cpuinfo: runs of blanks
// made one, none at the end, at most 100 characters.
QString ProcessorName(const QString& cpuinfoLine);

} // namespace Ucomtc
