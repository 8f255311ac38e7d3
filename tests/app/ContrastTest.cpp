// Every text of every window readable under a light and a dark colour scheme, measured against the
// background it is drawn on; black where the designed look can keep it. Runs in a private /tmp:
// the forms' show handlers use the fixed capture paths.
#include "app/Application.h"
#include "app/MainForm.h"
#include "services/Ucomtc.h"
#include "tests/support/DarkPalette.h"
#include "tests/support/FakeHost.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QStyle>
#include <QTest>

using namespace Ucomtc;

class ContrastTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTextIsReadable_data();
    void everyTextIsReadable();
    void lightSchemeKeepsBlackText();
    void cleanup() { QApplication::setPalette(QApplication::style()->standardPalette()); }

private:
    FakeHost host_;
    ScopedHost scope_{host_};
};

void ContrastTest::everyTextIsReadable_data()
{
    QTest::addColumn<QPalette>("scheme");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    QTest::newRow("dark") << DarkPalette();
}

void ContrastTest::everyTextIsReadable()
{
    QFETCH(QPalette, scheme);
    QApplication::setPalette(scheme);
    TApplication application;
    application.CreateForms();
    for (const QString& name : application.FormNames()) {
        QWidget* window = FindForm(name);
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(window))
                continue;
            const QPalette& palette = widget->palette();
            // Item views draw their rows in Text on Base; everything else in its own two roles.
            const bool view = qobject_cast<QAbstractItemView*>(widget) != nullptr;
            const QColor text = palette.color(view ? QPalette::Text : widget->foregroundRole());
            const QColor background = palette.color(view ? QPalette::Base : widget->backgroundRole());
            QVERIFY2(ContrastRatio(text, background) >= ReadableContrast,
                     qPrintable(QStringLiteral("%1/%2: %3 on %4, %5:1")
                                    .arg(name, widget->objectName(), text.name(), background.name())
                                    .arg(ContrastRatio(text, background), 0, 'f', 1)));
        }
    }
}

void ContrastTest::lightSchemeKeepsBlackText()
{
    TApplication application;
    application.CreateForms();
    for (const QString& name : application.FormNames()) {
        QWidget* window = FindForm(name);
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (qobject_cast<QLabel*>(widget) == nullptr && qobject_cast<QAbstractButton*>(widget) == nullptr)
                continue;
            QVERIFY2(widget->palette().color(widget->foregroundRole()) == Qt::black,
                     qPrintable(name + QLatin1Char('/') + widget->objectName()));
        }
    }
    // The report list stays white as laid out.
    auto* list =
        FindForm(QStringLiteral("SysInfoForm"))->findChild<QAbstractItemView*>(QStringLiteral("ListView1"));
    QCOMPARE(list->palette().color(QPalette::Base), QColor(Qt::white));
}

QTEST_MAIN(ContrastTest)
#include "ContrastTest.moc"
