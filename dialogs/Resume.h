// The resume lock dialog: whether the desktop's power manager locks the screen before suspend or
// standby, kept as lockOnSuspend in the [General] group of the user's kpowersaverc; where the old
// desktop is missing, as today's desktop keeps it (services/DesktopChanges.h).
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TResumeForm1;
}

// The check box state the last showing read from the file; Cancel goes back to it.
extern bool SavedEnableLock;

class TResumeForm1 : public QDialog
{
    Q_OBJECT

public:
    explicit TResumeForm1(QWidget* parent = nullptr);
    ~TResumeForm1() override;

    void FormShow();
    void ButtonOKClick();
    void ButtonCancelClick();
    // F1: the dialog has no help page of its own; the security dialog's page describes it.
    void FormHelp();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Each false when the configuration could not be written.
    bool SaveLockOff(const QString& path);
    bool CreateConfiguration(const QString& path);
    // The lines that start a configuration: the group, AlreadyStarted, and the key when clear.
    void AppendConfiguration();

    std::unique_ptr<Ui::TResumeForm1> ui;
    // Whether the last showing read the old power manager's configuration, not today's desktop's.
    bool kde3Desktop_ = true;
};
