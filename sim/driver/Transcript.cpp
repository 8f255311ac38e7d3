#include "Transcript.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QWidget>

namespace {

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString Describe(QWidget* widget)
{
    const QString name = widget->objectName().isEmpty()
                             ? QString::fromLatin1(widget->metaObject()->className())
                             : widget->objectName();
    QString state = widget->isEnabled() ? QString() : QStringLiteral(" (disabled)");
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (!label->pixmap().isNull())
            return name + QStringLiteral(": picture ") + QString::number(label->pixmap().width()) +
                   QLatin1Char('x') + QString::number(label->pixmap().height());
        return name + QStringLiteral(": ") + Quoted(label->text()) + state;
    }
    if (auto* check = qobject_cast<QCheckBox*>(widget))
        return name + QStringLiteral(": ") + Quoted(check->text()) +
               (check->isChecked() ? QStringLiteral(" [ticked]") : QStringLiteral(" [clear]")) + state;
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return name + QStringLiteral(": button ") + Quoted(button->text()) + state;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items.append(Quoted(combo->itemText(i)));
        return name + QStringLiteral(": list [") + items.join(QStringLiteral(", ")) +
               QStringLiteral("], shows ") + Quoted(combo->currentText()) + state;
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return name + QStringLiteral(": group ") + Quoted(group->title());
    if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
        QStringList names;
        for (int i = 0; i < tabs->count(); ++i)
            names.append(Quoted(tabs->tabText(i)));
        return name + QStringLiteral(": tabs [") + names.join(QStringLiteral(", ")) +
               QStringLiteral("], selected ") + Quoted(tabs->tabText(tabs->currentIndex()));
    }
    if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
        QString rows;
        const QAbstractItemModel* model = view->model();
        for (int row = 0; model != nullptr && row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column)
                cells.append(Quoted(model->index(row, column).data().toString()));
            rows += QStringLiteral("\n      ") + cells.join(QStringLiteral(" | "));
        }
        return name + QStringLiteral(": list of ") + QString::number(model ? model->rowCount() : 0) +
               QStringLiteral(" rows") + rows;
    }
    return QString();
}

} // namespace

Transcript::Transcript(const QString& directory)
    : directory_(directory), file_(directory_.filePath(QStringLiteral("transcript.txt")))
{
    directory_.mkpath(QStringLiteral("screenshots"));
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        qFatal("cannot write %s", qPrintable(file_.fileName()));
    out_.setDevice(&file_);
}

void Transcript::Heading(const QString& title)
{
    out_ << "\n== " << title << " ==\n";
    out_.flush();
}

void Transcript::Line(const QString& text)
{
    out_ << text << '\n';
    out_.flush();
}

void Transcript::Window(QWidget* window, const QString& name)
{
    Line(QStringLiteral("window ") + Quoted(window->windowTitle()) + QStringLiteral(" (") +
         window->objectName() + QStringLiteral(", ") + QString::number(window->width()) + QLatin1Char('x') +
         QString::number(window->height()) + QLatin1Char(')'));
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!child->isVisibleTo(window))
            continue;
        const QString description = Describe(child);
        if (!description.isEmpty())
            Line(QStringLiteral("    ") + description);
    }
    Screenshot(window, name);
}

namespace {

// The screen as a person sees it: every shown window at its place, framed and titled, `front` on
// top. Drawn from the windows themselves: the offscreen platform's own screen picture still holds
// windows long closed.
QPixmap ScreenWith(QWidget* front)
{
    QPixmap screen(front->screen()->geometry().size());
    screen.fill(QColor(0x4a, 0x5a, 0x6e));
    QPainter painter(&screen);
    QList<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window != front)
            windows.append(window);
    }
    windows.append(front);
    for (QWidget* window : windows) {
        const QRect frame = window->frameGeometry();
        painter.fillRect(frame, QColor(0x30, 0x3c, 0x4c));
        const int titleBar = window->geometry().y() - frame.y();
        if (titleBar >= painter.fontMetrics().height()) { // where the platform leaves room for one
            painter.setPen(Qt::white);
            painter.drawText(QRect(frame.x() + 6, frame.y(), frame.width() - 12, titleBar),
                             Qt::AlignVCenter | Qt::AlignLeft, window->windowTitle());
        }
        painter.drawPixmap(window->geometry().topLeft(), window->grab());
    }
    return screen;
}

} // namespace

QString Transcript::Screenshot(QWidget* window, const QString& name)
{
    QString slug = name.toLower();
    slug.replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
    const QString file =
        QStringLiteral("screenshots/%1-%2.png").arg(++shots_, 2, 10, QLatin1Char('0')).arg(slug);
    if (screenCheck_)
        screenCheck_(window);
    const QPixmap shot = screenCheck_ && window->screen() != nullptr ? ScreenWith(window) : window->grab();
    const bool saved = shot.save(directory_.filePath(file));
    Line(QStringLiteral("    screenshot: ") + (saved ? file : QStringLiteral("(could not be saved)")));
    return directory_.filePath(file);
}

void Transcript::GrabScreen(std::function<void(QWidget*)> check)
{
    screenCheck_ = std::move(check);
}

bool Transcript::Check(bool passed, const QString& what)
{
    Line((passed ? QStringLiteral("  ok: ") : QStringLiteral("  FAILED: ")) + what);
    if (!passed)
        ++failures_;
    return passed;
}
