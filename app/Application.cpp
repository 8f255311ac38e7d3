#include "Application.h"

#include "MainForm.h"

TApplication::TApplication() = default;

TApplication::~TApplication()
{
    // Dialogs are children of the main window; they go first, the main window last.
    while (!forms_.empty())
        forms_.pop_back();
}

void TApplication::CreateForms()
{
    auto mainForm = std::make_unique<TMainForm1>();
    forms_.push_back(std::move(mainForm));
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
