#include "FormFont.h"

#include <QFontMetrics>
#include <QPalette>
#include <QWidget>

namespace Ucomtc {

void UseFormFont(QWidget* widget, int pixelHeight, const QString& family, bool fixedPitch)
{
    QFont font = widget->font();
    font.setFamily(family);
    font.setPixelSize(pixelHeight);
    font.setFixedPitch(fixedPitch);
    widget->setFont(font);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Text, Qt::black);
    widget->setPalette(palette);
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
