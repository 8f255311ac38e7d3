// The pointing stick's on/off dialog. The stick's state lives only in the kernel's sample rate for
// its PS/2 port: rate 0 is off, any other rate is on.
//
// The touchpad dialog derives from this form and takes over its whole layout and its buttons. What
// differs is the device it reads and switches, its help page and what Mouse Properties hands over
// to; OK (write, then close), Apply (write), Mouse and Cancel are the same for both. The dialog only
// presents: the pointing area (areas/pointing/PointingDevices.h) reads, switches and keeps.
#pragma once

#include "areas/handovers/HandOvers.h"
#include "areas/pointing/PointingDevices.h"

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
    TNubstickFor(Ucomtc::PointingDevices& devices, Ucomtc::HandOvers& handOvers, QWidget* parent = nullptr);
    ~TNubstickFor() override;

    void FormShow();
    void ButtonOKClick();
    void ButtonApplyClick();
    void ButtonMouseClick();
    void ButtonHelpClick();
    void ButtonCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    // Shows the selection that goes with the device's state; a state that could not be read shows as
    // an "Unknown" entry, which is never a choice.
    void ShowState(std::optional<Ucomtc::DeviceState> state);
    // The state the drop-down list says; nothing for "Unknown".
    std::optional<Ucomtc::DeviceState> ChosenState() const;
    // Puts a 28 x 28 device picture into Image1; its bottom-left colour shows the page through.
    void UseDeviceIcon(const QString& resource);
    // Narrows Label1's face just enough for its whole caption to fit its fixed width.
    void FitLabel();

    // Switches the device as the drop-down list says; an unread state offers no choice. False when
    // the change was not made, so that OK leaves the dialog open.
    bool WriteState();

    std::unique_ptr<Ui::TNubstickFor> ui;
    Ucomtc::PointingDevices& devices_;
    Ucomtc::HandOvers& handOvers_;
    // What the touchpad dialog changes.
    Ucomtc::PointingDevice device_ = Ucomtc::PointingDevice::PointingStick;
    Ucomtc::Setting mouseSetting_ = Ucomtc::Setting::Mouse;
    const Ucomtc::HelpPage* helpPage_ = &Ucomtc::HelpNubstick;
};
