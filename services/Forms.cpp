#include "Forms.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>
#include <utility>

namespace Ucomtc {

namespace {

std::function<void()>& WaitingForms()
{
    static std::function<void()> create;
    return create;
}

} // namespace

void DeferForms(std::function<void()> create)
{
    WaitingForms() = std::move(create);
}

void CreateDeferredForms()
{
    // Taken out first: a form being created may look another one up.
    if (const auto create = std::exchange(WaitingForms(), {}))
        create();
}

QWidget* FindForm(const QString& name)
{
    CreateDeferredForms();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->objectName() == name)
            return window;
    }
    return nullptr;
}

void ShowFormModal(const QString& name)
{
    if (auto* dialog = qobject_cast<QDialog*>(FindForm(name)))
        dialog->exec();
}

} // namespace Ucomtc
