// The security information dialog: which Linux and BIOS passwords protect the notebook, and the
// tools that change them. Every showing reads the screen saver lock and the BIOS password states
// afresh; a BIOS state whose query fails keeps what the previous showing found, and one never read
// shows as unknown. The locks area reads the lock, the system area the passwords; the dialog
// presents them.
#pragma once

#include "areas/handovers/HandOvers.h"
#include "areas/locks/Locks.h"
#include "areas/system/SysInfo.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TSecureForm1;
}

class TSecureForm1 : public QDialog
{
    Q_OBJECT

public:
    TSecureForm1(Ucomtc::Locks& locks, Ucomtc::SystemInformation& system, Ucomtc::HandOvers& handOvers,
                 QWidget* parent = nullptr);
    ~TSecureForm1() override;

    // The resume lock dialog that Resume opens on top of this one.
    void UseResumeForm(QDialog* resumeForm) { resumeForm_ = resumeForm; }

    void FormShow();
    void ButtonUsrPwdClick();
    void ButtonScrnPwdClick();
    void ButtonResumeClick();
    void ButtonOKClick();
    void ButtonCancelClick();
    void ButtonHelpClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Reads the screen saver lock and shows it: the button, the words for a screen reader, the note.
    void ShowScreenSaverLock();
    // Gives each password state label its state as the accessible description.
    void DescribeStates();

    std::unique_ptr<Ui::TSecureForm1> ui;
    Ucomtc::Locks& locks_;
    Ucomtc::SystemInformation& system_;
    Ucomtc::HandOvers& handOvers_;
    QDialog* resumeForm_ = nullptr;
    // Whether the last reading found GNOME's one lock for both rows; the note's words for that.
    bool sharedLock_ = false;
    QString sharedNote_;
};
