// Designer files can only give fonts in points; the forms are laid out for fonts given in pixels.
#pragma once

#include <QString>

class QColor;
class QWidget;

namespace Ucomtc {

// Gives `widget` (and so every child that does not set its own) the font `family`, `pixelHeight`
// pixels high, with the fixed-pitch hint, and black text wherever black is readable on the
// palette's background for it (see ReadableContrast).
void UseFormFont(QWidget* widget, int pixelHeight, const QString& family = QStringLiteral("serif"),
                 bool fixedPitch = true);

// Narrows `widget`'s face (its stretch, never its height) just enough for `text` to fit in `room`
// pixels, for captions that the fixed layout makes too tight for common serif faces. A "&" marking
// a mnemonic takes no room.
// The contrast ratio of two colours, 1 (none) to 21 (black on white), as accessibility guidelines
// measure it; text needs ReadableContrast against its background.
double ContrastRatio(const QColor& first, const QColor& second);
inline constexpr double ReadableContrast = 4.5;

void NarrowToFit(QWidget* widget, const QString& text, int room);

} // namespace Ucomtc
