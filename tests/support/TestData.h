// The sample files under tests/data: dmidecode dumps, /proc files and battery driver files.
#pragma once

#include <QByteArray>
#include <QString>

// Where `name` ("sysinfo/meminfo.txt") lies below tests/data, for tests that point the program at it.
QString TestDataPath(const QString& name);

// The content of that file. A missing sample ends the run: every check after it would compare
// against nothing.
QByteArray TestData(const QString& name);
