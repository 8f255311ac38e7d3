#include "app/Application.h"

#include "app/MainForm.h"
#include "dialogs/Resume.h"
#include "dialogs/SecureForm.h"
#include "dialogs/SysInfForm.h"
#include "dialogs/nubstickform.h"
#include "dialogs/touchpadform.h"

TApplication::TApplication(const Ucomtc::Areas& areas) : areas_(areas) {}

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
    const auto create = [this](auto form) {
        auto* made = form.get();
        forms_.push_back(std::move(form));
        return made;
    };
    mainForm_ = create(std::make_unique<TMainForm1>(areas_.system, areas_.handOvers));
    sysInfoForm_ =
        create(std::make_unique<TSysInfoForm>(areas_.system, areas_.batteries, areas_.handOvers, mainForm_));
    nubstickFor_ = create(std::make_unique<TNubstickFor>(areas_.pointing, areas_.handOvers, mainForm_));
    touchPadForm1_ = create(std::make_unique<TTouchPadForm1>(areas_.pointing, areas_.handOvers, mainForm_));
    secureForm1_ =
        create(std::make_unique<TSecureForm1>(areas_.locks, areas_.system, areas_.handOvers, mainForm_));
    resumeForm1_ = create(std::make_unique<TResumeForm1>(areas_.locks, areas_.handOvers, mainForm_));
    mainForm_->UseDialogs({sysInfoForm_, nubstickFor_, touchPadForm1_, secureForm1_});
    secureForm1_->UseResumeForm(resumeForm1_);
}

QStringList TApplication::FormNames() const
{
    QStringList names;
    for (const auto& form : forms_)
        names.append(form->objectName());
    return names;
}
