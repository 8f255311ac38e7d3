// An input/output error on a file the program expected to read. It ends the current handler and
// reaches the application's default error report (see Guarded in Handlers.h).
#pragma once

#include <QString>
#include <stdexcept>

namespace Ucomtc {

class IoError : public std::runtime_error
{
public:
    IoError(const QString& path, const QString& reason);
};

} // namespace Ucomtc
