// Designer files can only give fonts in points; the forms are laid out for fonts given in pixels.
#pragma once

#include <QString>

class QWidget;

namespace Ucomtc {

// Gives `widget` (and so every child that does not set its own) the font `family`, `pixelHeight`
// pixels high, with the fixed-pitch hint, and black text.
void UseFormFont(QWidget* widget, int pixelHeight, const QString& family = QStringLiteral("serif"),
                 bool fixedPitch = true);

} // namespace Ucomtc
