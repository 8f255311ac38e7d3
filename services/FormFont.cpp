#include "FormFont.h"

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

} // namespace Ucomtc
