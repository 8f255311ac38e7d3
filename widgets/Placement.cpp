#include "widgets/Placement.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace Ucomtc {

namespace {

int FitSpan(int start, int length, int availableStart, int availableLength)
{
    const int end = std::min(start + length, availableStart + availableLength);
    return std::max(end - length, availableStart);
}

// The frame is known only once the window manager has framed the window; before the first showing
// the client area is all there is to go by.
QMargins FrameMargins(const QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

class OnScreenKeeper : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Show || window == nullptr || !window->isWindow())
            return QObject::eventFilter(watched, event);
        // A dialog that has not been moved is centred over its parent, and kept on the screen, by
        // its own show event, which comes after this one. Moving it here first would keep it where
        // it was made: at the screen's corner.
        if (qobject_cast<QDialog*>(window) != nullptr && !window->testAttribute(Qt::WA_Moved))
            return QObject::eventFilter(watched, event);
        PlaceWindow(window, window->pos());
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

QPoint FitInto(const QRect& frame, const QRect& available)
{
    return {FitSpan(frame.left(), frame.width(), available.left(), available.width()),
            FitSpan(frame.top(), frame.height(), available.top(), available.height())};
}

void PlaceWindow(QWidget* window, const QPoint& designed)
{
    const QRect frame(designed, window->size().grownBy(FrameMargins(window)));
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (screen == nullptr)
        screen = window->screen();
    window->move(screen != nullptr ? FitInto(frame, screen->availableGeometry()) : designed);
}

void KeepOnScreen(QWidget* window)
{
    window->installEventFilter(new OnScreenKeeper(window));
}

} // namespace Ucomtc
