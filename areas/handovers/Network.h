// The machine's network adapters, as the kernel lists them: enough to tell a machine that has only
// wireless ones, whose desktop then has a settings page of their own.
#pragma once

namespace Ucomtc {

// Whether there is a network adapter and every one is wireless: each interface with a device behind
// it (not the loopback, bridges or tunnels) has DEVTYPE=wlan in its uevent.
bool OnlyWirelessAdapters();

} // namespace Ucomtc
