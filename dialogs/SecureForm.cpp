#include "dialogs/SecureForm.h"

#include "ui_SecureForm.h"

#include "areas/locks/Constants.h"
#include "widgets/DialogKeys.h"
#include "widgets/FormEvents.h"
#include "widgets/FormFont.h"
#include "widgets/Handlers.h"
#include "widgets/MessageBox.h"
#include "widgets/Placement.h"

#include <QApplication>
#include <QShortcut>
#include <QShowEvent>

using namespace Ucomtc;

TSecureForm1::TSecureForm1(Locks& locks, SystemInformation& system, HandOvers& handOvers, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TSecureForm1>()), locks_(locks), system_(system),
      handOvers_(handOvers)
{
    ui->setupUi(this);
    UseDialogKeys(this, ui->ButtonOK);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setBackgroundRole(QPalette::Window);
    UseFormFont(this, 12);
    UseFormFont(ui->Label9, 16, QStringLiteral("Sans Serif"), false);
    UseFormFont(ui->LabelDesktopNote, 10);
    sharedNote_ = ui->LabelDesktopNote->text();
    // The black text the form font brings would make the greyed-out button look usable.
    FollowScheme(ui->ButtonScrnPwd, [button = ui->ButtonScrnPwd] {
        QPalette palette = button->palette();
        palette.setColor(QPalette::Disabled, QPalette::ButtonText,
                         QApplication::palette().color(QPalette::Disabled, QPalette::ButtonText));
        button->setPalette(palette);
    });
    // Until a query has been answered the dialog does not know whether a password is set.
    // "Disabled" and "Unknown" are a little wider than the state labels in common serif faces:
    // narrow the face for the wider one.
    for (QLabel* label : {ui->LabelPwpwd, ui->LabelHdpwd, ui->LabelAdminpwd}) {
        label->setText(QString::fromLatin1(UnknownState));
        const QFontMetrics metrics(label->font());
        NarrowToFit(label,
                    metrics.horizontalAdvance(label->text()) >
                            metrics.horizontalAdvance(QStringLiteral("Disabled"))
                        ? label->text()
                        : QStringLiteral("Disabled"),
                    label->width());
    }

    // Screen readers: the captions without the blanks that pad them, and each state named by its
    // caption, with the state itself as the description.
    for (QLabel* caption : {ui->Labellinux, ui->LabelPower, ui->LabelHarddisk, ui->LabelAdmin})
        caption->setAccessibleName(caption->text().trimmed());
    ui->LabelPwpwd->setAccessibleName(ui->LabelPower->accessibleName());
    ui->LabelHdpwd->setAccessibleName(ui->LabelHarddisk->accessibleName());
    ui->LabelAdminpwd->setAccessibleName(ui->LabelAdmin->accessibleName());
    DescribeStates();

    BindHandler(ui->ButtonUsrPwd, &QPushButton::clicked, this, &TSecureForm1::ButtonUsrPwdClick);
    BindHandler(ui->ButtonScrnPwd, &QPushButton::clicked, this, &TSecureForm1::ButtonScrnPwdClick);
    BindHandler(ui->ButtonResume, &QPushButton::clicked, this, &TSecureForm1::ButtonResumeClick);
    BindHandler(ui->ButtonOK, &QPushButton::clicked, this, &TSecureForm1::ButtonOKClick);
    BindHandler(ui->ButtonCancel, &QPushButton::clicked, this, &TSecureForm1::ButtonCancelClick);
    BindHandler(ui->ButtonHelp, &QPushButton::clicked, this, &TSecureForm1::ButtonHelpClick);
    BindHandler(HelpKey(this), &QShortcut::activated, this, &TSecureForm1::ButtonHelpClick);
}

TSecureForm1::~TSecureForm1() = default;

void TSecureForm1::showEvent(QShowEvent* event)
{
    // The dialog opens where it was laid out, not centred over the main window.
    if (!event->spontaneous())
        PlaceWindow(this, QPoint(590, 622));
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ui->ButtonUsrPwd->setFocus();
    QueueShowHandler(this, event, [this] { FormShow(); });
}

void TSecureForm1::FormShow()
{
    ShowScreenSaverLock();
    const auto passwords = system_.BiosPasswords();
    ShowMessages(passwords.messages);
    // A state that could not be read this time keeps what an earlier showing found.
    QLabel* const labels[] = {ui->LabelPwpwd, ui->LabelAdminpwd, ui->LabelHdpwd};
    for (std::size_t i = 0; i < passwords.value.size(); ++i) {
        if (passwords.value[i])
            labels[i]->setText(*passwords.value[i]);
    }
    DescribeStates();
}

void TSecureForm1::ShowScreenSaverLock()
{
    const auto read = locks_.ScreenSaverLock();
    ShowMessages(read.messages);
    const std::optional<bool> lock = read.value.locked;
    // The button offers to turn the lock on: greyed out once it is on. A state that could not be read
    // leaves it usable and says so; a screen reader says the state in words.
    ui->ButtonScrnPwd->setEnabled(!lock.value_or(false));
    const QString lockState = !lock   ? QString::fromLatin1(MsgScreenSaverLockUnknown)
                              : *lock ? QStringLiteral("The screen saver asks for a password")
                                      : QStringLiteral("The screen saver does not ask for a password");
    ui->LabelScreen->setAccessibleDescription(lockState);
    ui->ButtonScrnPwd->setAccessibleDescription(lockState);
    ui->ButtonScrnPwd->setToolTip(lock ? QString() : lockState);
    // GNOME keeps one lock for both rows, and its lockdown over it: said under them.
    sharedLock_ = read.value.keeper == LockKeeper::Gnome;
    ui->LabelDesktopNote->setText(read.value.lockedDown ? QString::fromLatin1(MsgGnomeLockedDown)
                                                        : sharedNote_);
    ui->LabelDesktopNote->setVisible(sharedLock_);
}

void TSecureForm1::DescribeStates()
{
    for (QLabel* state : {ui->LabelPwpwd, ui->LabelHdpwd, ui->LabelAdminpwd})
        state->setAccessibleDescription(state->text().trimmed());
}

void TSecureForm1::ButtonUsrPwdClick()
{
    ShowMessages(handOvers_.Start(Setting::Users).messages);
    close();
}

void TSecureForm1::ButtonScrnPwdClick()
{
    const Launch launch = handOvers_.Start(Setting::ScreenSaver);
    ShowMessages(launch.messages);
    // The old desktop's screen saver module turns the lock on: the button has done its part.
    if (launch.started == Started::OldTool)
        ui->ButtonScrnPwd->setEnabled(false);
    close();
}

void TSecureForm1::ButtonResumeClick()
{
    if (resumeForm_ == nullptr)
        return;
    resumeForm_->exec();
    // Where both are one setting, what the resume dialog changed is the screen saver's lock too.
    if (sharedLock_)
        ShowScreenSaverLock();
}

void TSecureForm1::ButtonOKClick()
{
    close();
}

void TSecureForm1::ButtonCancelClick()
{
    close();
}

void TSecureForm1::ButtonHelpClick()
{
    ShowMessages(handOvers_.ShowHelp(HelpSecurity));
}
