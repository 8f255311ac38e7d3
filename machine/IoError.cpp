#include "machine/IoError.h"

namespace Ucomtc {

IoError::IoError(const QString& path, const QString& reason)
    : std::runtime_error((path + QStringLiteral(": ") + reason).toStdString())
{}

} // namespace Ucomtc
