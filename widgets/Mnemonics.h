// Qt counts a tool window's shortcuts as its parent window's, so a mnemonic of the parent (the main
// window's "Se&curity Information") makes the same letter in the tool window ambiguous: Alt+C would
// only move the focus between the two windows' buttons instead of pressing Cancel.
#pragma once

class QWidget;

namespace Ucomtc {

// Lets `window`'s own buttons answer their mnemonics first while it has the focus.
void KeepMnemonicsInWindow(QWidget* window);

} // namespace Ucomtc
