#include "tests/support/TestData.h"

#include <QFile>
#include <QtGlobal>

QString TestDataPath(const QString& name)
{
    return QStringLiteral(LAPSTONE_TEST_DATA "/") + name;
}

QByteArray TestData(const QString& name)
{
    QFile file(TestDataPath(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", qPrintable(name));
    return file.readAll();
}
