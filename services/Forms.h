// The program's forms are windows of their own, found by their form names.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace Ucomtc {

// Forms whose creation waits: `create` runs once, the first time a form is looked up by name or
// CreateDeferredForms is called, whichever comes first. An empty `create` drops a waiting one.
void DeferForms(std::function<void()> create);
void CreateDeferredForms();

// The top-level form called `name`, or nullptr when the program has no such form. Forms that wait
// are created first, so that every form is found.
QWidget* FindForm(const QString& name);
// Shows the dialog called `name` modally and returns once it has been closed. The modal result is
// of no interest to any caller.
void ShowFormModal(const QString& name);

} // namespace Ucomtc
