#include "IoError.h"

#include <cstring>

namespace Ucomtc {

IoError::IoError(const QString& path, int errorNumber)
    : IoError(path, QString::fromLocal8Bit(std::strerror(errorNumber)))
{}

IoError::IoError(const QString& path, const QString& reason)
    : std::runtime_error((path + QStringLiteral(": ") + reason).toStdString())
{}

} // namespace Ucomtc
