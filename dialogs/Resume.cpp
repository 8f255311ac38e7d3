#include "dialogs/Resume.h"

#include "ui_Resume.h"

#include "services/Ucomtc.h"
#include <QShortcut>
#include <QShowEvent>
#include <algorithm>
#include <optional>

using namespace Ucomtc;

bool SavedEnableLock = false;

namespace {

// The configuration is the user's: its lines run as the home's owner.
constexpr Way Home{RunWith::System, As::HomeOwner};

QString ScratchFile()
{
    return QString::fromLatin1(KpowersavercScratchFile);
}

QString CaptureFile()
{
    return QString::fromLatin1(KpowersaveCaptureFile);
}

// The configuration's lines, or nothing when it cannot be read: sed cannot read it either, and its
// failed edit leaves the file alone. Root may be looking into a user's home here: only a regular
// file of the home's owner (or root) counts, read without following a link or waiting on a FIFO.
std::optional<QStringList> ConfigurationLines(const QString& path)
{
    try {
        return ReadCaptureLines(path, Home);
    } catch (const IoError&) {
        return std::nullopt;
    }
}

// Turns the lock off in an existing configuration; `mentioned` tells whether grep found the key.
// False when the file could not be rewritten.
bool WriteLockOff(const QString& path, bool mentioned)
{
    // The key is changed in place only where a line starts with it; a file that merely mentions it
    // (a comment) gets the key added like one without it, or the choice would be lost. An unreadable
    // file is left to sed, whose failed edit keeps it as it was.
    const auto lines = ConfigurationLines(path);
    const bool keyLine =
        lines ? std::any_of(lines->cbegin(), lines->cend(),
                            [](const QString& l) { return l.startsWith(QLatin1String("lockOnSuspend")); })
              : mentioned;
    if (keyLine)
        return EditFileWithSed(QStringLiteral("sed /^lockOnSuspend/c\\lockOnSuspend=false"), ShellWord(path),
                               ScratchFile(), Home);
    if (!lines || !lines->filter(QLatin1String("General")).isEmpty())
        return EditFileWithSed(QStringLiteral("sed /General/a\\lockOnSuspend=false"), ShellWord(path),
                               ScratchFile(), Home);
    if (lines->isEmpty()) {
        // Without a group line there is nothing to add the key after: the group and the key go at
        // the end of the file. sed appends nothing to an empty file, echo does.
        const QString file = ShellWord(path);
        const bool group = Succeeded(RunCommandStatus(Home, QStringLiteral("echo \"[General]\" >> ") + file));
        return Succeeded(RunCommandStatus(Home, QStringLiteral("echo lockOnSuspend=false >> ") + file)) &&
               group;
    }
    return EditFileWithSed(QStringLiteral("sed -e '$a\\[General]' -e '$a\\lockOnSuspend=false'"),
                           ShellWord(path), ScratchFile(), Home);
}

} // namespace

TResumeForm1::TResumeForm1(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TResumeForm1>())
{
    ui->setupUi(this);
    UseDialogKeys(this, ui->ButtonOK);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    UseFormFont(this, 16);
    UseFormFont(ui->EnableLock, 13);
    UseFormFont(ui->LabelDesktopNote, 11);
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
    Messages messages;
    kde3Desktop_ = Kde3Desktop(messages);
    const auto lock = ReadResumeLock(kde3Desktop_);
    messages.append(lock.messages);
    ShowMessages(messages);
    // A state that could not be read shows as neither ticked nor clear, and cannot be changed.
    const bool known = lock.value.has_value();
    ui->EnableLock->setTristate(!known);
    ui->EnableLock->setCheckState(!known ? Qt::PartiallyChecked : *lock.value ? Qt::Checked : Qt::Unchecked);
    ui->EnableLock->setEnabled(known);
    const QString unknown = known ? QString() : QString::fromLatin1(MsgResumeLockUnknown);
    ui->EnableLock->setAccessibleDescription(unknown);
    ui->EnableLock->setToolTip(unknown);
    // GNOME has no lock of its own for suspend: the box then stands for its screen lock, and says so.
    ui->LabelDesktopNote->setVisible(known && !kde3Desktop_ && CurrentDesktop() == Desktop::Gnome);
    SavedEnableLock = ui->EnableLock->isChecked();
}

void TResumeForm1::ButtonOKClick()
{
    // Nothing was read, so nothing was chosen: the configuration stays as it is.
    if (ui->EnableLock->checkState() == Qt::PartiallyChecked) {
        close();
        return;
    }
    if (!kde3Desktop_) {
        if (WriteDesktopResumeLock(ui->EnableLock->isChecked()))
            close();
        return;
    }
    const QString path = KpowersavercPath();
    bool saved = false;
    if (!FileExists(path))
        saved = CreateConfiguration(path);
    else if (ui->EnableLock->isChecked())
        saved = EditFileWithSed(QStringLiteral("sed '/^lockOnSuspend=false/ d'"), ShellWord(path),
                                ScratchFile(), Home);
    else
        saved = SaveLockOff(path);
    // A setting that was not written is said so, and the dialog stays open to try again or cancel.
    if (!saved) {
        ShowError(QString::fromLatin1(MsgResumeLockNotSaved) + path +
                  QString::fromLatin1(MsgKpowersavercNotWritten));
        return;
    }
    RunCommand(Home, QStringLiteral("dcop kpowersave MainApplication-Interface reparseConfiguration"));
    close();
}

bool TResumeForm1::SaveLockOff(const QString& path)
{
    // The edits run while the capture file still exists; it is removed after them.
    bool saved = false;
    WithCaptureFirstLine(Home,
                         QStringLiteral("cat ") + ShellWord(path) +
                             QStringLiteral(" | grep lockOnSuspend > ") + CaptureFile(),
                         CaptureFile(), RunWith::System,
                         [&](const QString& firstLine) { saved = WriteLockOff(path, !firstLine.isEmpty()); });
    return saved;
}

bool TResumeForm1::CreateConfiguration(const QString& path)
{
    AppendConfiguration();
    if (FileExists(path))
        return true;
    // The lines write nothing without the folder: it is made, and they run again.
    RunCommand(Home, WithShellHome(QString::fromLatin1(MakeKdeConfigFolder)));
    AppendConfiguration();
    return FileExists(path);
}

void TResumeForm1::AppendConfiguration()
{
    // The shell expands $HOME.
    RunCommand(Home,
               WithShellHome(QStringLiteral("echo \"[General]\" >> $HOME/.kde/share/config/kpowersaverc")));
    RunCommand(Home, WithShellHome(
                         QStringLiteral("echo AlreadyStarted=true >> $HOME/.kde/share/config/kpowersaverc")));
    if (!ui->EnableLock->isChecked())
        RunCommand(Home, WithShellHome(QStringLiteral(
                             "echo lockOnSuspend=false >> $HOME/.kde/share/config/kpowersaverc")));
}

void TResumeForm1::ButtonCancelClick()
{
    if (ui->EnableLock->checkState() != Qt::PartiallyChecked)
        ui->EnableLock->setChecked(SavedEnableLock);
    close();
}

void TResumeForm1::FormHelp()
{
    ShowHelpPage(HelpSecurity);
}
