// Designer files can only give fonts in points; the forms are laid out for fonts given in pixels.
#pragma once

#include <QString>

class QWidget;

namespace Ucomtc {

// Gives `widget` (and so every child that does not set its own) the font `family`, `pixelHeight`
// pixels high, with the fixed-pitch hint, and black text.
void UseFormFont(QWidget* widget, int pixelHeight, const QString& family = QStringLiteral("serif"),
                 bool fixedPitch = true);

// Narrows `widget`'s face (its stretch, never its height) just enough for `text` to fit in `room`
// pixels, for captions that the fixed layout makes too tight for common serif faces. A "&" marking
// a mnemonic takes no room.
void NarrowToFit(QWidget* widget, const QString& text, int room);

} // namespace Ucomtc
