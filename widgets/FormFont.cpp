#include "widgets/FormFont.h"

#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QFontMetrics>
#include <QList>
#include <QPalette>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

namespace Ucomtc {

namespace {

// The colours a widget follows the scheme with.
class SchemeColours : public QObject
{
public:
    explicit SchemeColours(QWidget* widget) : QObject(widget), widget_(widget) { All().append(this); }
    ~SchemeColours() override { All().removeOne(this); }

    static SchemeColours* Of(QWidget* widget)
    {
        for (SchemeColours* colours : All()) {
            if (colours->widget_ == widget)
                return colours;
        }
        return new SchemeColours(widget);
    }
    // Every widget that follows the scheme, in the order they were set up.
    static QList<SchemeColours*>& All()
    {
        static QList<SchemeColours*> all;
        return all;
    }

    void Add(std::function<void()> colour)
    {
        colour();
        colours_.push_back(std::move(colour));
    }
    void Recolour()
    {
        widget_->setPalette(QPalette());
        for (const auto& colour : colours_)
            colour();
    }

private:
    QWidget* widget_;
    std::vector<std::function<void()>> colours_;
};

// The application object hears of a new application palette once, after it has been set.
class PaletteChanges : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange) {
            const QList<SchemeColours*> all = SchemeColours::All();
            for (SchemeColours* colours : all) {
                if (SchemeColours::All().contains(colours))
                    colours->Recolour();
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

void WatchPaletteChanges()
{
    static QPointer<PaletteChanges> watch;
    if (watch == nullptr && QCoreApplication::instance() != nullptr) {
        watch = new PaletteChanges(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(watch);
    }
}

} // namespace

void FollowScheme(QWidget* widget, std::function<void()> colour)
{
    WatchPaletteChanges();
    SchemeColours::Of(widget)->Add(std::move(colour));
}

void UseFormFont(QWidget* widget, int pixelHeight, const QString& family, bool fixedPitch)
{
    QFont font = widget->font();
    font.setFamily(family);
    font.setPixelSize(pixelHeight);
    font.setFixedPitch(fixedPitch);
    widget->setFont(font);
    // Black as laid out, but only on a background it can be read on: under a dark colour scheme
    // the palette's own text colours stay.
    FollowScheme(widget, [widget] {
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
    });
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
