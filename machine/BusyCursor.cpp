#include "machine/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace Ucomtc {

BusyCursor::BusyCursor() : active_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
{
    if (active_)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor()
{
    if (active_)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace Ucomtc
