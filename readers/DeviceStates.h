// How the pointing stick's and the touchpad's on/off states are read, for their dialogs and for the
// system report alike, so that the two cannot disagree. Each reader gives the dialog's message when
// the device cannot be read, and then no state.
#pragma once

#include "machine/Message.h"

#include <QString>
#include <optional>

namespace Ucomtc {

// Whether the stick is on: any sample rate but one starting with "0" (an empty rate file counts as
// on). Without the stick's driver, libinput's state through the desktop (readers/InputDevices.h),
// with the desktop's reason when it does not say; the driver's message when there is no stick.
Reading<std::optional<bool>> ReadNubstickEnabled();

// Whether the touchpad works, from the first TouchpadOff line of `synclient -l`. Without synclient,
// libinput's state through the desktop, with the desktop's reason when it does not say; the
// synclient message when there is no touchpad either.
Reading<std::optional<bool>> ReadTouchpadEnabled();

// The touchpad's reading rule on one listing line: the value after the "=", blanks skipped, starting
// with "0" means the pad works. synclient pads the parameter names to 20 or, in newer releases, 23
// characters, so the value has no fixed column.
bool TouchpadWorksFromListing(const QString& line);

// The words the device dialogs show for a state.
QString DeviceStateText(bool enabled);
// The words for a state that could not be read.
QString DeviceStateText(std::optional<bool> state);

} // namespace Ucomtc
