// The keys every dialog answers to and where the focus goes: Return and Enter press the dialog's
// confirming button wherever the focus stands (Space presses the focused button, Escape cancels),
// the focus frame is drawn from the first showing on, and closing hands the activation back to the
// window that opened the dialog.
#pragma once

class QDialog;
class QPushButton;
class QShortcut;
class QWidget;

namespace Ucomtc {

// Makes `confirm` the default button of `dialog` and follows its showings. Call from the
// dialog's constructor.
void UseDialogKeys(QDialog* dialog, QPushButton* confirm);

// F1 for `window`'s help: a shortcut for the window's handler to be bound to. It answers only
// while the focus is in `window` itself, not in the dialogs above it.
QShortcut* HelpKey(QWidget* window);

} // namespace Ucomtc
