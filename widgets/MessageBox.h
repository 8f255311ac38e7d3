// Every message box of the program goes through these: the one wrapper around QMessageBox.
#pragma once

#include "machine/Message.h"

#include <QString>
#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

namespace Ucomtc {

// Shows a modal box of `kind` centred over the window it speaks for (the dialog on top, else the
// active window, else the main window) and returns once it has been closed.
void ShowMessage(MessageKind kind, const QString& text);
// The modal error box: critical icon, title "Error", the text, one OK button.
void ShowError(const QString& text);
// The toolkit's plain message box: the text and an OK button, no icon.
void ShowPlainMessage(const QString& text);
// Shows each message in turn, in its order.
void ShowMessages(const Messages& messages);

// The box ShowMessage shows for `kind`: icon, title, text and one OK button.
std::unique_ptr<QMessageBox> CreateMessageBox(MessageKind kind, const QString& text, QWidget* parent);

// Tests and the scenario driver answer the boxes themselves: while a sink is installed, every
// message goes to it instead of a box. Installs `sink` for the lifetime of this object.
class ScopedMessageSink
{
public:
    using Sink = std::function<void(const Message&)>;
    explicit ScopedMessageSink(Sink sink);
    ~ScopedMessageSink();
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

private:
    Sink previous_;
};

} // namespace Ucomtc
