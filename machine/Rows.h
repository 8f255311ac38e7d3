// The rows the system information dialog and the report show: labelled values, in display order.
#pragma once

#include <QList>
#include <QString>

namespace Ucomtc {

struct TSysInfoRec
{
    QString Attribute;
    QString Value;
};

// Rows in display order.
using TSysInfoArray = QList<TSysInfoRec>;

} // namespace Ucomtc
