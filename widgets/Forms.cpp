#include "widgets/Forms.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace Ucomtc {

QWidget* FindForm(const QString& name)
{
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
