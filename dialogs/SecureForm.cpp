#include "SecureForm.h"

#include "ui_SecureForm.h"

#include <QApplication>
#include <QShowEvent>
#include <Ucomtc.h>

using namespace Ucomtc;

namespace {

// The hard-disk password byte of the OEM block: D9 and DA mean a password is set. A line that
// starts with a blank has no such byte; it shows as a blank rather than as a verdict.
QString HardDiskState(const QString& line)
{
    if (line.startsWith(QLatin1String("D9")) || line.startsWith(QLatin1String("DA")))
        return QStringLiteral("Enabled");
    if (line.startsWith(QLatin1Char(' ')))
        return QStringLiteral(" ");
    return QStringLiteral("Disabled");
}

} // namespace

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
    // "Disabled" is a little wider than the state labels in common serif faces: narrow the face.
    for (QLabel* label : {ui->LabelPwpwd, ui->LabelHdpwd, ui->LabelAdminpwd})
        NarrowToFit(label, QStringLiteral("Disabled"), label->width());

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
    ReadScreenSaverLock();

    if (!CommandExists(QStringLiteral("dmidecode"))) {
        ShowError(QString::fromLatin1(MsgDmidecodeNotFound));
        return;
    }
    // Each query stands on its own: one the daemon does not run leaves only its own label as it was.
    if (const auto line = QueryBios(QString::fromLatin1(VcdProtocol::PowerOnPasswordQuery)))
        ui->LabelPwpwd->setText(line->left(8));
    if (const auto line = QueryBios(QString::fromLatin1(VcdProtocol::AdministratorPasswordQuery)))
        ui->LabelAdminpwd->setText(line->left(8));
    if (const auto line = QueryBios(QString::fromLatin1(VcdProtocol::HardDiskPasswordQuery)))
        ui->LabelHdpwd->setText(HardDiskState(*line));
}

void TSecureForm1::ReadScreenSaverLock()
{
    const QString line = CaptureFirstLine(
        RunWith::ShellInHome,
        WithShellHome(QStringLiteral("cat $HOME/.kde/share/config/kdesktoprc | grep Lock >/tmp/dmidecode")),
        QString::fromLatin1(DmidecodeCaptureFile), RunWith::Shell);
    ui->ButtonScrnPwd->setEnabled(!line.contains(QLatin1String("Lock=true")));
}

std::optional<QString> TSecureForm1::QueryBios(const QString& command)
{
    // The daemon wrote the file as root: only the daemon may remove it.
    std::optional<QString> line;
    WithCaptureFirstLine(RunWith::Daemon, command, QString::fromLatin1(DmidecodeCaptureFile), RunWith::Daemon,
                         [&](const QString& firstLine) { line = firstLine; });
    return line;
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
