#include "widgets/DialogKeys.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>

namespace Ucomtc {

namespace {

class DialogKeys : public QObject
{
public:
    explicit DialogKeys(QDialog* dialog) : QObject(dialog), dialog_(dialog) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Showings the program asked for, not the window system's after a minimise.
        if (watched != dialog_ || event->spontaneous())
            return false;
        if (event->type() == QEvent::Show)
            Shown();
        else if (event->type() == QEvent::Hide)
            Hidden();
        return false;
    }

private:
    void Shown()
    {
        // The window still active is the one the dialog is opened from: the main window, or the
        // dialog that opens this one on top. Without one (an error box just closed, say), the
        // window the dialog belongs to.
        QWidget* active = QApplication::activeWindow();
        opener_ = active != nullptr && active != dialog_ ? active : dialog_->parentWidget();
        if (opener_ != nullptr)
            opener_ = opener_->window();
        // The style draws focus frames only after the keyboard moved the focus; the focus a dialog
        // sets as it opens is where the keys will act, so it is drawn at once.
        dialog_->setAttribute(Qt::WA_KeyboardFocusChange);
    }

    void Hidden()
    {
        // Back to the opener, unless another of the program's windows has been activated meanwhile.
        const QWidget* active = QApplication::activeWindow();
        if (opener_ == nullptr || !opener_->isVisible() || (active != nullptr && active != dialog_))
            return;
        opener_->activateWindow();
    }

    QDialog* dialog_;
    QPointer<QWidget> opener_;
};

} // namespace

void UseDialogKeys(QDialog* dialog, QPushButton* confirm)
{
    confirm->setDefault(true);
    dialog->installEventFilter(new DialogKeys(dialog));
}

QShortcut* HelpKey(QWidget* window)
{
    // A window's shortcuts reach its tool windows too (the system information dialog is one); this
    // one must not, or F1 there would have two meanings and do nothing.
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    key->setContext(Qt::WidgetWithChildrenShortcut);
    return key;
}

} // namespace Ucomtc
