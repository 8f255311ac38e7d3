// The BIOS passwords' states, read from the DMI table through the daemon, for the security dialog
// and the system report alike.
#pragma once

#include "machine/Constants.h"
#include "machine/Message.h"

#include <QString>
#include <array>
#include <optional>

namespace Ucomtc {

// What a BIOS password label shows before its query has ever been answered.
inline constexpr const char* UnknownState = UnknownText;

enum class BiosPassword
{
    PowerOn,
    Administrator,
    HardDisk,
};

// The three states, indexed by BiosPassword, as the dialog shows them.
using BiosPasswordStates = std::array<std::optional<QString>, 3>;

// Runs the three BIOS password queries in the dialog's order. A query the daemon did not run gives
// no state; without dmidecode no query runs. A query that printed nothing reads "Unknown".
Reading<BiosPasswordStates> ReadBiosPasswords();

} // namespace Ucomtc
