// Every message box of the program goes through these, and through them to the current Host.
#pragma once

#include <QString>

namespace Ucomtc {

// The modal error box: critical icon, title "Error", the text, one OK button.
void ShowError(const QString& text);
// The toolkit's plain message box: the text and an OK button, no icon.
void ShowPlainMessage(const QString& text);

} // namespace Ucomtc
