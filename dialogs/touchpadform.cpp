#include "dialogs/touchpadform.h"

#include "ui_nubstickform.h"

using namespace Ucomtc;

TTouchPadForm1::TTouchPadForm1(PointingDevices& devices, HandOvers& handOvers, QWidget* parent)
    : TNubstickFor(devices, handOvers, parent)
{
    setObjectName(QStringLiteral("TouchPadForm1"));
    setWindowTitle(QStringLiteral("TouchPad"));
    ui->Label1->setText(QStringLiteral("&Touchpad"));
    ui->Label1->resize(56, ui->Label1->height());
    FitLabel();
    UseDeviceIcon(QStringLiteral(":/artwork/touchpad-device.png"));
    device_ = PointingDevice::Touchpad;
    mouseSetting_ = Setting::TouchpadMouse;
    helpPage_ = &HelpTouchPad;
}
