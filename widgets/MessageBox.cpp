#include "widgets/MessageBox.h"

#include "machine/BusyCursor.h"
#include "widgets/Placement.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <utility>

namespace Ucomtc {

namespace {

ScopedMessageSink::Sink& InstalledSink()
{
    static ScopedMessageSink::Sink sink;
    return sink;
}

// The window a message speaks for: the dialog on top (a show handler's box comes while the dialog
// opens, before the window system has activated it), the active window, or else the main window.
QWidget* MessageOwner()
{
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal->isVisible())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->isVisible() && window->parentWidget() == nullptr &&
            qobject_cast<QDialog*>(window) == nullptr)
            return window;
    }
    return nullptr;
}

} // namespace

ScopedMessageSink::ScopedMessageSink(Sink sink) : previous_(std::exchange(InstalledSink(), std::move(sink)))
{}

ScopedMessageSink::~ScopedMessageSink()
{
    InstalledSink() = std::move(previous_);
}

std::unique_ptr<QMessageBox> CreateMessageBox(MessageKind kind, const QString& text, QWidget* parent)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title = QApplication::applicationName();
    if (kind == MessageKind::Error) {
        icon = QMessageBox::Critical;
        title = QStringLiteral("Error");
    } else if (kind == MessageKind::Report) {
        icon = QMessageBox::Critical;
    }
    auto box = std::make_unique<QMessageBox>(icon, title, text, QMessageBox::Ok, parent);
    KeepOnScreen(box.get());
    // The icon says what kind of message this is; a screen reader says it too.
    if (auto* iconLabel = box->findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
        iconLabel->setAccessibleName(kind == MessageKind::Plain ? QString() : QStringLiteral("Error"));
    return box;
}

void ShowMessage(MessageKind kind, const QString& text)
{
    BusyCursor::Lift();
    if (const auto& sink = InstalledSink()) {
        sink({kind, text});
        return;
    }
    // Parented, the box opens centred over its window (and stays above it); KeepOnScreen moves it
    // no further than it takes to be whole.
    CreateMessageBox(kind, text, MessageOwner())->exec();
}

void ShowError(const QString& text)
{
    ShowMessage(MessageKind::Error, text);
}

void ShowPlainMessage(const QString& text)
{
    ShowMessage(MessageKind::Plain, text);
}

void ShowMessages(const Messages& messages)
{
    for (const Message& message : messages)
        ShowMessage(message.kind, message.text);
}

} // namespace Ucomtc
