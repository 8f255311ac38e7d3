// The program's forms: created once, at start-up, in a fixed order, and owned here until the program
// ends. The first form created is the main window; the dialogs are its children.
#pragma once

#include "areas/Areas.h"

#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

class TMainForm1;
class TNubstickFor;
class TResumeForm1;
class TSecureForm1;
class TSysInfoForm;
class TTouchPadForm1;

class TApplication
{
public:
    explicit TApplication(const Ucomtc::Areas& areas);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Creates every form: the main window, then the five dialogs.
    void CreateForms();
    TMainForm1* MainForm() const { return mainForm_; }
    TSysInfoForm* SysInfoForm() const { return sysInfoForm_; }
    TNubstickFor* NubstickFor() const { return nubstickFor_; }
    TTouchPadForm1* TouchPadForm1() const { return touchPadForm1_; }
    TSecureForm1* SecureForm1() const { return secureForm1_; }
    TResumeForm1* ResumeForm1() const { return resumeForm1_; }
    // The form names in creation order.
    QStringList FormNames() const;

private:
    Ucomtc::Areas areas_;
    std::vector<std::unique_ptr<QWidget>> forms_;
    TMainForm1* mainForm_ = nullptr;
    TSysInfoForm* sysInfoForm_ = nullptr;
    TNubstickFor* nubstickFor_ = nullptr;
    TTouchPadForm1* touchPadForm1_ = nullptr;
    TSecureForm1* secureForm1_ = nullptr;
    TResumeForm1* resumeForm1_ = nullptr;
};
