// The touchpad's on/off dialog: the pointing stick's dialog with another caption, label and picture.
// The X server's touchpad driver holds the state: `synclient` switches it at once, and the
// TouchpadOff option in the X server configuration keeps it for the next session.
#pragma once

#include "nubstickform.h"

class TTouchPadForm1 : public TNubstickFor
{
    Q_OBJECT

public:
    explicit TTouchPadForm1(QWidget* parent = nullptr);

    void FormShow() override;
    void ButtonHelpClick() override;

protected:
    void WriteState() override;
};
