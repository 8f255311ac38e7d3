// The resume lock dialog: whether the desktop's power manager locks the screen before suspend or
// standby, kept as lockOnSuspend in the [General] group of the user's kpowersaverc; where the old
// desktop is missing, as today's desktop keeps it. The locks area (areas/locks/Locks.h) reads and
// writes it; the dialog presents.
#pragma once

#include "areas/handovers/HandOvers.h"
#include "areas/locks/Locks.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TResumeForm1;
}

class TResumeForm1 : public QDialog
{
    Q_OBJECT

public:
    TResumeForm1(Ucomtc::Locks& locks, Ucomtc::HandOvers& handOvers, QWidget* parent = nullptr);
    ~TResumeForm1() override;

    void FormShow();
    void ButtonOKClick();
    void ButtonCancelClick();
    // F1: the dialog has no help page of its own; the security dialog's page describes it.
    void FormHelp();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TResumeForm1> ui;
    Ucomtc::Locks& locks_;
    Ucomtc::HandOvers& handOvers_;
    // Who keeps the lock, as the last showing found it.
    Ucomtc::LockKeeper keeper_ = Ucomtc::LockKeeper::Kde3;
    // The check box state the last showing read; Cancel goes back to it.
    bool savedEnableLock_ = false;
    // The note's words for GNOME's one lock.
    QString sharedNote_;
};
