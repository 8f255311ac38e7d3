#include "BusyCursor.h"

#include <QApplication>

namespace Ucomtc {

BusyCursor::BusyCursor() : active_(qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
{
    if (active_)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    if (active_)
        QApplication::restoreOverrideCursor();
}

} // namespace Ucomtc
