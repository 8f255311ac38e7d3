// The touchpad's on/off dialog: the pointing stick's dialog with another caption, label and picture,
// for the touchpad, with the touchpad's help page and settings behind Mouse Properties. How the
// touchpad is read and switched on each platform is the pointing area's (areas/pointing).
#pragma once

#include "dialogs/nubstickform.h"

class TTouchPadForm1 : public TNubstickFor
{
    Q_OBJECT

public:
    TTouchPadForm1(Ucomtc::PointingDevices& devices, Ucomtc::HandOvers& handOvers, QWidget* parent = nullptr);
};
