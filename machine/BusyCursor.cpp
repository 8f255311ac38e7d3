#include "machine/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

namespace Ucomtc {

namespace {

bool busy = false;
bool liftQueued = false;

bool HasPointer()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

BusyCursor::BusyCursor()
{
    if (!HasPointer() || busy)
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    busy = true;
}

BusyCursor::~BusyCursor()
{
    if (!busy || liftQueued)
        return;
    liftQueued = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [] {
        liftQueued = false;
        Lift();
    });
}

void BusyCursor::Lift()
{
    if (!busy)
        return;
    QGuiApplication::restoreOverrideCursor();
    busy = false;
}

} // namespace Ucomtc
