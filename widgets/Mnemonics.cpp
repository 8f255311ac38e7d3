#include "widgets/Mnemonics.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>

namespace Ucomtc {

namespace {

class WindowMnemonics : public QObject
{
public:
    explicit WindowMnemonics(QWidget* window) : QObject(window), window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        QAbstractButton* button = ButtonFor(key->keyCombination());
        if (button == nullptr)
            return QObject::eventFilter(watched, event);
        // Claiming the override keeps the key from the shortcut map; it then arrives as a key press.
        if (event->type() == QEvent::KeyPress)
            button->animateClick();
        key->accept();
        return true;
    }

private:
    QAbstractButton* ButtonFor(QKeyCombination pressed) const
    {
        if (pressed.keyboardModifiers() != Qt::AltModifier)
            return nullptr;
        QAbstractButton* found = nullptr;
        for (QAbstractButton* button : window_->findChildren<QAbstractButton*>()) {
            if (!button->isVisible() || !button->isEnabled() ||
                QKeySequence::mnemonic(button->text()) != QKeySequence(pressed))
                continue;
            if (found != nullptr)
                return nullptr; // shared within the window: Qt's own rule applies
            found = button;
        }
        return found;
    }

    QWidget* window_;
};

} // namespace

void KeepMnemonicsInWindow(QWidget* window)
{
    auto* filter = new WindowMnemonics(window);
    for (QWidget* child : window->findChildren<QWidget*>())
        child->installEventFilter(filter);
    window->installEventFilter(filter);
}

} // namespace Ucomtc
