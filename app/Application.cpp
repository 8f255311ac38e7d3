#include "app/Application.h"

#include "app/MainForm.h"
#include "dialogs/Resume.h"
#include "dialogs/SecureForm.h"
#include "dialogs/SysInfForm.h"
#include "dialogs/nubstickform.h"
#include "dialogs/touchpadform.h"

TApplication::TApplication() = default;

TApplication::~TApplication()
{
    // Dialogs are children of the main window; they go first, the main window last.
    while (!forms_.empty())
        forms_.pop_back();
}

void TApplication::CreateForms()
{
    // The order is fixed: MainForm1, SysInfoForm, NubstickFor, TouchPadForm1, SecureForm1,
    // ResumeForm1. The first becomes the main window; the dialogs are its children, so that they
    // open centred over it and stay above it.
    auto mainForm = std::make_unique<TMainForm1>();
    TMainForm1* parent = mainForm.get();
    forms_.push_back(std::move(mainForm));
    forms_.push_back(std::make_unique<TSysInfoForm>(parent));
    forms_.push_back(std::make_unique<TNubstickFor>(parent));
    forms_.push_back(std::make_unique<TTouchPadForm1>(parent));
    forms_.push_back(std::make_unique<TSecureForm1>(parent));
    forms_.push_back(std::make_unique<TResumeForm1>(parent));
}

TMainForm1* TApplication::MainForm() const
{
    return forms_.empty() ? nullptr : static_cast<TMainForm1*>(forms_.front().get());
}

QStringList TApplication::FormNames() const
{
    QStringList names;
    for (const auto& form : forms_)
        names.append(form->objectName());
    return names;
}
