#include "dialogs/touchpadform.h"

#include "ui_nubstickform.h"

#include "services/Ucomtc.h"

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
    mouseSettings_ = &TouchpadSettings;
}

void TTouchPadForm1::FormShow()
{
    const auto read = ReadTouchpadEnabled();
    ShowMessages(read.messages);
    ShowState(read.value);
}

bool TTouchPadForm1::WriteState()
{
    if (!CommandExists(QStringLiteral("synclient"))) {
        if (const auto device = FindInputDevice(PointingDevice::Touchpad))
            return SwitchToday(*device);
        ShowError(QString::fromLatin1(MsgSynclientIsNotFound));
        return true;
    }
    const QString scratchFile = QString::fromLatin1(XorgConfigScratchFile);
    const bool disable = DisableChosen();
    bool edited = true;
    // Old option lines go first, so that switching off again does not pile them up. Both edits run
    // whatever became of the first, as they always have.
    if (disable) {
        System(QStringLiteral("synclient TouchpadOff=1"));
        edited &= EditFileWithSed(QStringLiteral("sed /TouchpadOff/d"), XorgConf, scratchFile);
        edited &= EditFileWithSed(QStringLiteral(R"(sed /SHMConfig/a\Option\ \"TouchpadOff\"\ \"1\")"),
                                  XorgConf, scratchFile);
    } else {
        System(QStringLiteral("synclient TouchpadOff=0"));
        edited = EditFileWithSed(QStringLiteral("sed /TouchpadOff/d"), XorgConf, scratchFile);
    }
    const char* why = WhyNotKept(disable, edited);
    if (why != nullptr)
        ShowPlainMessage(QString::fromLatin1(disable ? MsgTouchpadOffNotKept : MsgTouchpadOnNotKept) +
                         QString::fromLatin1(why));
    return true;
}

const char* TTouchPadForm1::WhyNotKept(bool disable, bool edited)
{
    // Without a configuration the X server starts with the pad on, so only switching it off is lost.
    if (!FileExists(XorgConf))
        return disable ? MsgXorgConfMissing : nullptr;
    if (!edited)
        return Host::current().GetUid() != 0 ? MsgXorgConfNeedsRoot : MsgXorgConfEditFailed;
    // sed adds the option only after a SHMConfig line; without one the edit "succeeds" with nothing.
    if (disable && System(QStringLiteral("grep -q SHMConfig ") + XorgConf) != 0)
        return MsgXorgConfNoShmConfig;
    return nullptr;
}

void TTouchPadForm1::ButtonHelpClick()
{
    ShowHelpPage(HelpTouchPad);
}
