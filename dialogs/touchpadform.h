// The touchpad's on/off dialog: the pointing stick's dialog with another caption, label and picture.
// The X server's touchpad driver holds the state: `synclient` switches it at once, and the
// TouchpadOff option in the X server configuration keeps it for the next session. When the
// configuration cannot be made to keep it, the person is told that the change lasts only until the X
// server restarts. Without synclient, the touchpad is switched today's way (services/DesktopChanges.h).
#pragma once

#include "dialogs/nubstickform.h"

class TTouchPadForm1 : public TNubstickFor
{
    Q_OBJECT

public:
    explicit TTouchPadForm1(QWidget* parent = nullptr);

    void FormShow() override;
    void ButtonHelpClick() override;

protected:
    bool WriteState() override;

private:
    // Why the configuration does not keep the choice just switched live, or nullptr when it does.
    static const char* WhyNotKept(bool disable, bool edited);
};
