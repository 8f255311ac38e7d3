// The pointing stick's on/off dialog. The stick's state lives only in the kernel's sample rate for
// its PS/2 port: rate 0 is off, any other rate is on.
//
// The touchpad dialog derives from this form and takes over its whole layout and its buttons. What
// it replaces is how the state is read (FormShow), how it is written (WriteState) and which help page
// opens; OK (write, then close), Apply (write), Mouse and Cancel are the same for both (Mouse hands
// over to the desktop's touchpad settings instead of its mouse settings where yast2 is missing).
#pragma once

#include "readers/InputDevices.h"
#include "services/Constants.h"

#include <QDialog>
#include <memory>
#include <optional>

namespace Ui {
class TNubstickFor;
}

class TNubstickFor : public QDialog
{
    Q_OBJECT

public:
    explicit TNubstickFor(QWidget* parent = nullptr);
    ~TNubstickFor() override;

    virtual void FormShow();
    void ButtonOKClick();
    void ButtonApplyClick();
    void ButtonMouseClick();
    virtual void ButtonHelpClick();
    void ButtonCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    // Shows the selection that goes with the device's state; a state that could not be read shows as
    // an "Unknown" entry, which is never a choice.
    void ShowState(std::optional<bool> enabled);
    // Whether the user chose to switch the device off.
    bool DisableChosen() const;
    // Puts a 28 x 28 device picture into Image1; its bottom-left colour shows the page through.
    void UseDeviceIcon(const QString& resource);
    // Narrows Label1's face just enough for its whole caption to fit its fixed width.
    void FitLabel();

    // Switches the device as the drop-down list says. False when a change made today's way did not
    // take, so that OK leaves the dialog open; the old way closes on every path, after its messages.
    virtual bool WriteState();
    // Today's way for `device`, where the old driver is missing; an unread state offers no choice,
    // so nothing is written.
    bool SwitchToday(const Ucomtc::InputDevice& device);

    std::unique_ptr<Ui::TNubstickFor> ui;
    // Where Mouse Properties hands over on a desktop of today without yast2.
    const Ucomtc::DesktopSettings* mouseSettings_ = &Ucomtc::MouseSettings;
};
