#include "dialogs/Resume.h"

#include "ui_Resume.h"

#include "areas/handovers/Constants.h"
#include "areas/locks/Constants.h"
#include "widgets/DialogKeys.h"
#include "widgets/FormEvents.h"
#include "widgets/FormFont.h"
#include "widgets/Handlers.h"
#include "widgets/MessageBox.h"
#include "widgets/Placement.h"

#include <QShortcut>
#include <QShowEvent>

using namespace Ucomtc;

TResumeForm1::TResumeForm1(Locks& locks, HandOvers& handOvers, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TResumeForm1>()), locks_(locks), handOvers_(handOvers)
{
    ui->setupUi(this);
    UseDialogKeys(this, ui->ButtonOK);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    UseFormFont(this, 16);
    UseFormFont(ui->EnableLock, 13);
    UseFormFont(ui->LabelDesktopNote, 11);
    sharedNote_ = ui->LabelDesktopNote->text();
    UseFormFont(ui->ButtonOK, 12);
    UseFormFont(ui->ButtonCancel, 12);

    BindHandler(ui->ButtonOK, &QPushButton::clicked, this, &TResumeForm1::ButtonOKClick);
    BindHandler(ui->ButtonCancel, &QPushButton::clicked, this, &TResumeForm1::ButtonCancelClick);
    BindHandler(HelpKey(this), &QShortcut::activated, this, &TResumeForm1::FormHelp);
}

TResumeForm1::~TResumeForm1() = default;

void TResumeForm1::showEvent(QShowEvent* event)
{
    // Created with the main window as its parent, the dialog would open centred over it; it opens
    // where it was laid out instead, above the security dialog.
    if (!event->spontaneous())
        PlaceWindow(this, QPoint(590, 417));
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ui->ButtonOK->setFocus();
    QueueShowHandler(this, event, [this] { FormShow(); });
}

void TResumeForm1::FormShow()
{
    const auto read = locks_.ReadResumeLock();
    ShowMessages(read.messages);
    const std::optional<bool> lock = read.value.locked;
    keeper_ = read.value.keeper;
    // A state that could not be read shows as neither ticked nor clear, and cannot be changed; nor
    // can one that GNOME's lockdown decides.
    const bool known = lock.has_value();
    ui->EnableLock->setTristate(!known);
    ui->EnableLock->setCheckState(!known ? Qt::PartiallyChecked : *lock ? Qt::Checked : Qt::Unchecked);
    ui->EnableLock->setEnabled(known && !read.value.lockedDown);
    const QString unknown = known ? QString() : QString::fromLatin1(MsgResumeLockUnknown);
    ui->EnableLock->setAccessibleDescription(unknown);
    ui->EnableLock->setToolTip(unknown);
    // GNOME has no lock of its own for suspend: the box then stands for its screen lock, and says so.
    ui->LabelDesktopNote->setText(read.value.lockedDown ? QString::fromLatin1(MsgGnomeLockedDown)
                                                        : sharedNote_);
    ui->LabelDesktopNote->setVisible(known && keeper_ == LockKeeper::Gnome);
    savedEnableLock_ = ui->EnableLock->isChecked();
}

void TResumeForm1::ButtonOKClick()
{
    // Nothing was read, or nothing can be changed, so nothing was chosen: it stays as it is.
    if (ui->EnableLock->checkState() == Qt::PartiallyChecked || !ui->EnableLock->isEnabled()) {
        close();
        return;
    }
    const Change change = locks_.WriteResumeLock(keeper_, ui->EnableLock->isChecked());
    ShowMessages(change.messages);
    // A setting that was not saved is said so, and the dialog stays open to try again or cancel.
    if (change.made)
        close();
}

void TResumeForm1::ButtonCancelClick()
{
    if (ui->EnableLock->checkState() != Qt::PartiallyChecked)
        ui->EnableLock->setChecked(savedEnableLock_);
    close();
}

void TResumeForm1::FormHelp()
{
    ShowMessages(handOvers_.ShowHelp(HelpSecurity));
}
