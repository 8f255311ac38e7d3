#include "touchpadform.h"

#include "ui_nubstickform.h"

#include <Ucomtc.h>

using namespace Ucomtc;

namespace {

const QString XorgConf = QStringLiteral("/etc/X11/xorg.conf");

} // namespace

TTouchPadForm1::TTouchPadForm1(QWidget* parent) : TNubstickFor(parent)
{
    setObjectName(QStringLiteral("TouchPadForm1"));
    setWindowTitle(QStringLiteral("TouchPad"));
    ui->Label1->setText(QStringLiteral("&Touchpad"));
    ui->Label1->resize(56, ui->Label1->height());
    FitLabel();
    UseDeviceIcon(QStringLiteral(":/artwork/touchpad-device.png"));
}

void TTouchPadForm1::FormShow()
{
    if (!CommandExists(QStringLiteral("synclient"))) {
        ShowError(QString::fromLatin1(MsgSynclientNotFound));
        return;
    }
    const QString captureFile = QString::fromLatin1(TouchpadCaptureFile);
    const QString line =
        CaptureFirstLine(RunWith::System, QStringLiteral("synclient -l | grep TouchpadOff > ") + captureFile,
                         captureFile, RunWith::Shell);
    // The listing puts the value at character 28: "    TouchpadOff          = 0". The parameter
    // says whether the pad is off, so "0" means it works; no such line shows it as off.
    ShowState(line.size() >= 28 && line.at(27) == QLatin1Char('0'));
}

void TTouchPadForm1::WriteState()
{
    if (!CommandExists(QStringLiteral("synclient"))) {
        ShowError(QString::fromLatin1(MsgSynclientIsNotFound));
        return;
    }
    const QString scratchFile = QString::fromLatin1(XorgConfigScratchFile);
    // Old option lines go first, so that switching off again does not pile them up.
    if (DisableChosen()) {
        System(QStringLiteral("synclient TouchpadOff=1"));
        EditFileWithSed(QStringLiteral("sed /TouchpadOff/d"), XorgConf, scratchFile);
        EditFileWithSed(QStringLiteral(R"(sed /SHMConfig/a\Option\ \"TouchpadOff\"\ \"1\")"), XorgConf,
                        scratchFile);
    } else {
        System(QStringLiteral("synclient TouchpadOff=0"));
        EditFileWithSed(QStringLiteral("sed /TouchpadOff/d"), XorgConf, scratchFile);
    }
}

void TTouchPadForm1::ButtonHelpClick()
{
    ShowHelpPage(HelpTouchPad);
}
