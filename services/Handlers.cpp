#include "Handlers.h"

#include "Host.h"

namespace Ucomtc {

void ReportUnhandledError(const std::exception& error)
{
    Host::current().ShowMessage(MessageKind::Report, QString::fromUtf8(error.what()));
}

} // namespace Ucomtc
