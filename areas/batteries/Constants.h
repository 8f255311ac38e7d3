// The batteries' paths, command lines, keys and texts: the old driver's files under /proc/H8 and
// the kernel's power-supply class.
#pragma once

#include <array>

namespace Ucomtc {

inline constexpr std::array<const char*, 9> BatteryStateKeys{"AC attached:",
                                                             "Temperature:",
                                                             "Voltage:",
                                                             "Current:",
                                                             "RelativeStateofCharge:",
                                                             "RemainingCapacity:",
                                                             "FullChargeCapacity:",
                                                             "AverageTimeToEmpty:",
                                                             "Cycle Count:"};

inline constexpr std::array<const char*, 9> BatteryInfoKeys{
    "Manufacture:",     "Device Name:",    "Device Chemistry:", "Bar-code:",     "First Used Date:",
    "Design Capacity:", "Design Voltage:", "ManufactureDate:",  "Serial Number:"};

inline constexpr const char* Bat0StatePath = "/proc/H8/BAT0/state";
inline constexpr const char* Bat0InfoPath = "/proc/H8/BAT0/info";
inline constexpr const char* Bat1StatePath = "/proc/H8/BAT1/state";
inline constexpr const char* Bat1InfoPath = "/proc/H8/BAT1/info";
inline constexpr const char* CopyBat0StateCommand = "cp /proc/H8/BAT0/state ";
inline constexpr const char* CopyBat0InfoCommand = "cp /proc/H8/BAT0/info ";
inline constexpr const char* CopyBat1StateCommand = "cp /proc/H8/BAT1/state ";
inline constexpr const char* CopyBat1InfoCommand = "cp /proc/H8/BAT1/info ";
inline constexpr const char* PowerSupplyFolder = "/sys/class/power_supply";

inline constexpr const char* MsgNoBatteryOrBatinfo =
    "Module batinfo is needed or there is no battery in the computer";
inline constexpr const char* MsgBatinfoNeeded = "Module batinfo is needed";

} // namespace Ucomtc
