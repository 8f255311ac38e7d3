#include "widgets/FormFont.h"

#include <QColor>
#include <QFontMetrics>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace Ucomtc {

void UseFormFont(QWidget* widget, int pixelHeight, const QString& family, bool fixedPitch)
{
    QFont font = widget->font();
    font.setFamily(family);
    font.setPixelSize(pixelHeight);
    font.setFixedPitch(fixedPitch);
    widget->setFont(font);
    // Black as laid out, but only on a background it can be read on: under a dark colour scheme
    // the palette's own text colours stay.
    QPalette palette = widget->palette();
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> roles[] = {
        {QPalette::WindowText, QPalette::Window},
        {QPalette::ButtonText, QPalette::Button},
        {QPalette::Text, QPalette::Base},
    };
    for (const auto& [text, background] : roles) {
        if (ContrastRatio(Qt::black, palette.color(background)) >= ReadableContrast)
            palette.setColor(text, Qt::black);
    }
    widget->setPalette(palette);
}

double ContrastRatio(const QColor& first, const QColor& second)
{
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](double channel) {
            return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        };
        const QColor rgb = colour.toRgb();
        return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
    };
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

void NarrowToFit(QWidget* widget, const QString& text, int room)
{
    const QString shown = QString(text).remove(QLatin1Char('&'));
    QFont font = widget->font();
    for (int stretch = 100; stretch > 60; stretch -= 5) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(shown) <= room)
            break;
    }
    if (font.stretch() != 100)
        widget->setFont(font);
}

} // namespace Ucomtc
