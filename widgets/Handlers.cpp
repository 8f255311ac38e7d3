#include "widgets/Handlers.h"

#include "widgets/MessageBox.h"

namespace Ucomtc {

void ReportUnhandledError(const std::exception& error)
{
    ShowMessage(MessageKind::Report, QString::fromUtf8(error.what()));
}

} // namespace Ucomtc
