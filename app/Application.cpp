#include "Application.h"

#include "MainForm.h"

#include <Forms.h>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <Resume.h>
#include <SecureForm.h>
#include <SysInfForm.h>
#include <nubstickform.h>
#include <touchpadform.h>

TApplication::TApplication() = default;

TApplication::~TApplication()
{
    Ucomtc::DeferForms({});
    // Dialogs are children of the main window; they go first, the main window last.
    while (!forms_.empty())
        forms_.pop_back();
}

void TApplication::CreateForms()
{
    // The order is fixed: MainForm1, SysInfoForm, NubstickFor, TouchPadForm1, SecureForm1,
    // ResumeForm1. The first becomes the main window; the dialogs are its children, so that they
    // open centred over it and stay above it.
    const QScreen* screen = QGuiApplication::primaryScreen();
    auto steps = TMainForm1::TakeStartSteps(screen != nullptr ? screen->devicePixelRatio() : 1.0);
    auto mainForm = std::make_unique<TMainForm1>();
    TMainForm1* parent = mainForm.get();
    parent->BeginStart(std::move(steps));
    forms_.push_back(std::move(mainForm));
    // Nothing the main window's start shows needs them; a person cannot reach them before it.
    Ucomtc::DeferForms([this, parent] { CreateDialogs(parent); });
}

void TApplication::CreateDialogs(TMainForm1* parent)
{
    forms_.push_back(std::make_unique<TSysInfoForm>(parent));
    forms_.push_back(std::make_unique<TNubstickFor>(parent));
    forms_.push_back(std::make_unique<TTouchPadForm1>(parent));
    forms_.push_back(std::make_unique<TSecureForm1>(parent));
    forms_.push_back(std::make_unique<TResumeForm1>(parent));
}

void TApplication::ShowMainForm()
{
    TMainForm1* window = MainForm();
    window->show();
    // Queued behind the show handler, which the showing has just queued.
    QTimer::singleShot(0, window, [] { Ucomtc::CreateDeferredForms(); });
}

TMainForm1* TApplication::MainForm() const
{
    return forms_.empty() ? nullptr : static_cast<TMainForm1*>(forms_.front().get());
}

QStringList TApplication::FormNames() const
{
    Ucomtc::CreateDeferredForms();
    QStringList names;
    for (const auto& form : forms_)
        names.append(form->objectName());
    return names;
}
