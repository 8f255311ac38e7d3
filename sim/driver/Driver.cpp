#include "Driver.h"

#include "ScenarioHost.h"
#include "SimPaths.h"
#include "Transcript.h"

#include "app/Application.h"
#include "app/MainForm.h"
#include "protocol/DaemonProtocol.h"
#include "tests/support/MessageKindName.h"
#include "widgets/FormEvents.h"
#include "widgets/FormFont.h"
#include "widgets/Forms.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using Ucomtc::MessageKind;

namespace {

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

Driver::Driver(Transcript& transcript, ScenarioHost& host) : transcript_(transcript), host_(host)
{
    toolLinesSeen_ = ReadLines(QString::fromLatin1(SimToolLog)).size();
}

Driver::~Driver() = default;

void Driver::CheckOnScreenAndReadable(QWidget* window)
{
    Settle(50); // placed and painted
    const QRect frame = window->frameGeometry();
    const QRect available = window->screen()->availableGeometry();
    transcript_.Check(available.contains(frame), QStringLiteral("%1 lies on the screen (%2,%3 %4x%5)")
                                                     .arg(window->objectName())
                                                     .arg(frame.x())
                                                     .arg(frame.y())
                                                     .arg(frame.width())
                                                     .arg(frame.height()));
    QStringList unreadable;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        // A greyed-out control says it cannot be used; it need not stand out as text does.
        if (!widget->isVisibleTo(window) || !widget->isEnabled())
            continue;
        // Item views draw their rows in Text on Base; everything else in its own two roles.
        const bool view = qobject_cast<QAbstractItemView*>(widget) != nullptr;
        const QPalette& palette = widget->palette();
        const QColor text = palette.color(view ? QPalette::Text : widget->foregroundRole());
        const QColor background = palette.color(view ? QPalette::Base : widget->backgroundRole());
        if (Ucomtc::ContrastRatio(text, background) < Ucomtc::ReadableContrast)
            unreadable.append(widget->objectName() + QLatin1Char(' ') + text.name() + QStringLiteral(" on ") +
                              background.name());
    }
    transcript_.Check(unreadable.isEmpty(),
                      window->objectName() + QStringLiteral(" texts are readable") +
                          (unreadable.isEmpty()
                               ? QString()
                               : QStringLiteral(": ") + unreadable.join(QStringLiteral(", "))));
}

void Driver::Settle(int milliseconds)
{
    QTest::qWait(milliseconds);
}

void Driver::StartProgram()
{
    host_.Forget();
    forms_ = std::make_unique<TApplication>(machine_.areas());
    forms_->CreateForms();
    main_ = forms_->MainForm();
    transcript_.Line(QStringLiteral("the program starts; forms created: ") +
                     forms_->FormNames().join(QStringLiteral(", ")));
    main_->show();
    // The show handler has the DMI dump taken (by the daemon, or by root itself) and goes on with
    // what it found; its message boxes are answered on the way.
    static_cast<void>(QTest::qWaitFor([&] { return Ucomtc::ShowHandlersRun(main_) > 0; }, 20000));
    const QString dump = QString::fromLatin1(VcdProtocol::DumpToStoredDmiByPath);
    Check(host_.commands().contains(QStringLiteral("system: ") + dump) ||
              !host_.commands()
                   .filter(QStringLiteral("privileged: ") + dump + QStringLiteral(" -> "))
                   .isEmpty(),
          QStringLiteral("the main window asks for the DMI dump when it opens"));
    if (main_->isVisible())
        transcript_.Window(main_, QStringLiteral("main window"));
}

void Driver::StopProgram()
{
    if (main_ != nullptr && main_->isVisible()) {
        transcript_.Line(QStringLiteral("the main window is closed"));
        main_->close();
    }
    forms_.reset();
    main_ = nullptr;
}

QToolButton* Driver::Button(const char* buttonName) const
{
    return main_->findChild<QToolButton*>(QLatin1String(buttonName));
}

void Driver::Hover(const char* buttonName)
{
    QToolButton* button = Button(buttonName);
    QTest::mouseMove(button, button->rect().center());
    Settle(50);
}

void Driver::Click(const char* buttonName)
{
    Click(Button(buttonName));
}

void Driver::Click(QAbstractButton* button)
{
    transcript_.Line(QStringLiteral("click ") + QString(button->text()).remove(QLatin1Char('&')));
    host_.Forget();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    Settle(50);
}

void Driver::ClickToOpen(QAbstractButton* opener, const QString& formName,
                         const std::function<void(QWidget*)>& whileOpen)
{
    // The click does not return while the modal form is open, so a timer looks for it and acts
    // from inside the form's own event loop.
    bool opened = false;
    bool closedByStep = false;
    const QWidget* known = Ucomtc::FindForm(formName);
    const int handled = known != nullptr ? Ucomtc::ShowHandlersRun(known) : 0;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* form = Ucomtc::FindForm(formName);
        // A message box of the show handler is modal over the form: the person reads it first.
        // The person acts once the show handler has read what the form shows.
        if (opened || form == nullptr || !form->isVisible() || QApplication::activeModalWidget() != form ||
            host_.messageOpen() || Ucomtc::ShowHandlersRun(form) <= handled)
            return;
        opened = true;
        poll.stop();
        whileOpen(form);
        closedByStep = !form->isVisible();
        if (!closedByStep)
            form->close();
    });
    poll.start();
    Click(opener);
    poll.stop();
    Check(opened, formName + QStringLiteral(" opened"));
    Check(!opened || closedByStep, formName + QStringLiteral(" was closed by the person's last step"));
}

QStringList Driver::NewToolLines(int expected)
{
    if (expected > 0) // a tool that never logs is reported by the caller's comparison
        static_cast<void>(QTest::qWaitFor(
            [&] { return ReadLines(QString::fromLatin1(SimToolLog)).size() >= toolLinesSeen_ + expected; },
            10000));
    const QStringList lines = ReadLines(QString::fromLatin1(SimToolLog));
    const QStringList fresh = lines.mid(toolLinesSeen_);
    toolLinesSeen_ = lines.size();
    for (const QString& line : fresh)
        transcript_.Line(QStringLiteral("  tool started: ") + line);
    return fresh;
}

QStringList Driver::Messages() const
{
    QStringList shown;
    for (const ScenarioHost::Message& message : host_.messages())
        shown.append(QString::fromLatin1(NameOf(message.kind).name) + QStringLiteral(": ") + message.text);
    return shown;
}

void Driver::ExpectMessages(const QStringList& expected, const QString& when)
{
    const QStringList shown = Messages();
    Check(shown == expected, when + QStringLiteral(": message boxes [") + shown.join(QStringLiteral("; ")) +
                                 QStringLiteral("]"));
}

bool Driver::Check(bool passed, const QString& what)
{
    return transcript_.Check(passed, what);
}
