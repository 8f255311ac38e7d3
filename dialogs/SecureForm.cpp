#include "dialogs/SecureForm.h"

#include "ui_SecureForm.h"

#include "services/Ucomtc.h"
#include <QApplication>
#include <QShowEvent>

using namespace Ucomtc;

TSecureForm1::TSecureForm1(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TSecureForm1>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setBackgroundRole(QPalette::Window);
    UseFormFont(this, 12);
    UseFormFont(ui->Label9, 16, QStringLiteral("Sans Serif"), false);
    // The black text the form font brings would make the greyed-out button look usable.
    QPalette palette = ui->ButtonScrnPwd->palette();
    palette.setColor(QPalette::Disabled, QPalette::ButtonText,
                     QApplication::palette().color(QPalette::Disabled, QPalette::ButtonText));
    ui->ButtonScrnPwd->setPalette(palette);
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

    BindHandler(ui->ButtonUsrPwd, &QPushButton::clicked, this, &TSecureForm1::ButtonUsrPwdClick);
    BindHandler(ui->ButtonScrnPwd, &QPushButton::clicked, this, &TSecureForm1::ButtonScrnPwdClick);
    BindHandler(ui->ButtonResume, &QPushButton::clicked, this, &TSecureForm1::ButtonResumeClick);
    BindHandler(ui->ButtonOK, &QPushButton::clicked, this, &TSecureForm1::ButtonOKClick);
    BindHandler(ui->ButtonCancel, &QPushButton::clicked, this, &TSecureForm1::ButtonCancelClick);
    BindHandler(ui->ButtonHelp, &QPushButton::clicked, this, &TSecureForm1::ButtonHelpClick);
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
    const auto lock = ReadScreenSaverLock();
    ShowMessages(lock.messages);
    // The button offers to turn the lock on: greyed out once it is on. A state that could not be read
    // leaves it usable and says so.
    ui->ButtonScrnPwd->setEnabled(!lock.value.value_or(false));
    const QString unknown = lock.value ? QString() : QString::fromLatin1(MsgScreenSaverLockUnknown);
    ui->ButtonScrnPwd->setAccessibleDescription(unknown);
    ui->ButtonScrnPwd->setToolTip(unknown);
    const auto passwords = ReadBiosPasswords();
    ShowMessages(passwords.messages);
    // A state that could not be read this time keeps what an earlier showing found.
    QLabel* const labels[] = {ui->LabelPwpwd, ui->LabelAdminpwd, ui->LabelHdpwd};
    for (std::size_t i = 0; i < passwords.value.size(); ++i) {
        if (passwords.value[i])
            labels[i]->setText(*passwords.value[i]);
    }
}

void TSecureForm1::ButtonUsrPwdClick()
{
    if (Yast2Available())
        System(QStringLiteral("kdesu -c /sbin/yast2 users &"));
    close();
}

void TSecureForm1::ButtonScrnPwdClick()
{
    if (!CommandExists(QStringLiteral("kcmshell"))) {
        ShowError(QString::fromLatin1(MsgKcmshellNotFound));
    } else {
        System(QStringLiteral("kcmshell screensaver &"));
        ui->ButtonScrnPwd->setEnabled(false);
    }
    close();
}

void TSecureForm1::ButtonResumeClick()
{
    ShowFormModal(QStringLiteral("ResumeForm1"));
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
    ShowHelpPage(HelpSecurity);
}
