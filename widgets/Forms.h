// The program's forms are windows of their own, found by their form names.
#pragma once

#include <QString>

class QWidget;

namespace Ucomtc {

// The top-level form called `name`, or nullptr when the program has no such form.
QWidget* FindForm(const QString& name);
// Shows the dialog called `name` modally and returns once it has been closed. The modal result is
// of no interest to any caller.
void ShowFormModal(const QString& name);

} // namespace Ucomtc
