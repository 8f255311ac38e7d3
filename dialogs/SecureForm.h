// The security information dialog: which Linux and BIOS passwords protect the notebook, and the
// tools that change them. Every showing reads the screen saver lock and the BIOS password states
// afresh; a BIOS state whose query fails keeps what the previous showing found, and one never read
// shows as unknown.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TSecureForm1;
}

class TSecureForm1 : public QDialog
{
    Q_OBJECT

public:
    explicit TSecureForm1(QWidget* parent = nullptr);
    ~TSecureForm1() override;

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
    // Gives each password state label its state as the accessible description.
    void DescribeStates();

    std::unique_ptr<Ui::TSecureForm1> ui;
};
