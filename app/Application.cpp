#include "Application.h"

#include "MainForm.h"

#include <Forms.h>
#include <Host.h>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <Resume.h>
#include <SecureForm.h>
#include <SysInfForm.h>
#include <functional>
#include <future>
#include <nubstickform.h>
#include <system_error>
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
    const qreal deviceRatio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
    const auto takeSteps = [deviceRatio] { return TMainForm1::TakeStartSteps(deviceRatio); };
    // The start steps only read the picture's file and talk to the daemon: they run beside the
    // main window's building, and the daemon dumps the table meanwhile.
    std::future<TMainForm1::StartSteps> steps;
    try {
        steps = std::async(std::launch::async, takeSteps);
    } catch (const std::system_error&) {
        steps = std::async(std::launch::deferred, takeSteps); // no thread to spare: in turn
    }
    auto mainForm = std::make_unique<TMainForm1>();
    TMainForm1* parent = mainForm.get();
    parent->BeginStart(steps.get());
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

namespace {

// Calls `then` once, after `window` has been painted for the first time: by then the window is on
// the screen, so work queued there cannot hold up its appearing.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget* window, std::function<void()> then) : QObject(window), then_(std::move(then))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, then_);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> then_;
};

} // namespace

void TApplication::ShowMainForm()
{
    TMainForm1* window = MainForm();
    new AfterFirstPaint(window, [this] { PrepareDialogs(); });
    window->show();
}

void TApplication::PrepareDialogs()
{
    Ucomtc::CreateDeferredForms();
    for (std::size_t i = 1; i < forms_.size(); ++i)
        forms_[i]->winId();
    Ucomtc::Host::current().Prepare();
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
