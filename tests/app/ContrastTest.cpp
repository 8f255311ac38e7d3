// Every text of every window readable under a light and a dark colour scheme, measured against the
// background it is drawn on; black where the designed look can keep it. The forms run on fake areas.
#include "app/Application.h"
#include "app/MainForm.h"
#include "machine/Host.h"
#include "tests/support/DarkPalette.h"
#include "tests/support/FakeAreas.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestData.h"
#include "widgets/DesktopPalette.h"
#include "widgets/FormFont.h"
#include "widgets/Forms.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

using namespace Ucomtc;

class ContrastTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTextIsReadable_data();
    void everyTextIsReadable();
    void lightSchemeKeepsBlackText();
    void theDesktopsSchemeIsTakenAndFollowed();
    void cleanup() { QApplication::setPalette(QApplication::style()->standardPalette()); }

private:
    FakeHost host_; // the desktop's colour files and queries
    ScopedHost scope_{host_};
    FakeAreas areas_;
};

void ContrastTest::everyTextIsReadable_data()
{
    QTest::addColumn<QPalette>("scheme");
    QTest::addColumn<bool>("whileRunning"); // switched to once the forms are made under the light one
    // The file reaches the palette through the host, as the person's files do.
    const QString kdeglobals = TestDataPath(QStringLiteral("kde-dark/kdeglobals"));
    host_.texts.insert(kdeglobals, TestData(QStringLiteral("kde-dark/kdeglobals")));
    const QPalette plasma = *KdePalette(kdeglobals);
    QTest::newRow("light") << QApplication::style()->standardPalette() << false;
    QTest::newRow("dark") << DarkPalette() << false;
    QTest::newRow("Plasma's dark") << plasma << false;
    QTest::newRow("GNOME's prefer-dark") << PreferDarkPalette() << false;
    QTest::newRow("dark while running") << DarkPalette() << true;
    QTest::newRow("Plasma's dark while running") << plasma << true;
}

void ContrastTest::everyTextIsReadable()
{
    QFETCH(QPalette, scheme);
    QFETCH(bool, whileRunning);
    if (!whileRunning)
        QApplication::setPalette(scheme);
    TApplication application(areas_.areas());
    application.CreateForms();
    // Measured as shown: a window never laid out has parts a person never sees (a tab bar too
    // narrow for its tabs shows its scroll arrows).
    for (const QString& name : application.FormNames()) {
        FindForm(name)->show();
        QVERIFY(QTest::qWaitForWindowExposed(FindForm(name)));
    }
    QApplication::setPalette(scheme);
    for (const QString& name : application.FormNames()) {
        QWidget* window = FindForm(name);
        // The scheme is the one in use, also when it came after the forms.
        QCOMPARE(window->palette().color(QPalette::Window), scheme.color(QPalette::Window));
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (!widget->isVisible() || widget->window() != window) // a dialog is measured on its own
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
    TApplication application(areas_.areas());
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

void ContrastTest::theDesktopsSchemeIsTakenAndFollowed()
{
    const auto window = [] { return QApplication::palette().color(QPalette::Window); };
    // Plasma: its colour file, and the file that replaces it as the scheme is switched.
    QTemporaryDir config;
    const QString kdeglobals = config.filePath(QStringLiteral("kdeglobals"));
    QVERIFY(QFile::copy(TestDataPath(QStringLiteral("kde-dark/kdeglobals")), kdeglobals));
    host_.environment = {{QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("KDE")},
                         {QStringLiteral("XDG_CONFIG_HOME"), config.path()}};
    host_.root = QStringLiteral("/"); // the colour file is read through the host, from the real folder
    UseDesktopPalette();
    QCOMPARE(window(), QColor(42, 46, 50));
    QCOMPARE(QApplication::palette().color(QPalette::Base), QColor(27, 30, 32));
    FakeHost::WriteFile(config.filePath(QStringLiteral("new")),
                        "[Colors:Window]\nBackgroundNormal=239,240,241\nForegroundNormal=35,38,41\n");
    QVERIFY(QFile::remove(kdeglobals) && QFile::rename(config.filePath(QStringLiteral("new")), kdeglobals));
    QTRY_COMPARE(window(), QColor(239, 240, 241));

    // GNOME: read at start, and again when the toolkit reports a theme change.
    const QString query =
        QStringLiteral("gsettings get org.gnome.desktop.interface color-scheme >/tmp/colorscheme");
    QByteArray scheme = "'prefer-dark'\n";
    host_.answers.insert(query, [&] {
        FakeHost::WriteFile(QStringLiteral("/tmp/colorscheme"), scheme);
        return 0;
    });
    host_.environment = {{QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("ubuntu:GNOME")}};
    UseDesktopPalette();
    QCOMPARE(window(), PreferDarkPalette().color(QPalette::Window));
    QCOMPARE(host_.Entries(QStringLiteral("system: ")).mid(0, 2),
             (QStringList{query, QStringLiteral("rm /tmp/colorscheme")}));
    scheme = "'default'\n";
    QWidget shown;
    shown.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shown));
    QEvent themeChange(QEvent::ThemeChange);
    QCoreApplication::sendEvent(shown.windowHandle(), &themeChange);
    QTRY_COMPARE(window(), QApplication::style()->standardPalette().color(QPalette::Window));

    // Elsewhere the toolkit's own colours stay, and nothing is run.
    host_.log.clear();
    host_.environment = {{QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("XFCE")}};
    UseDesktopPalette();
    QCOMPARE(QApplication::palette(), QApplication::style()->standardPalette());
    QVERIFY(host_.log.isEmpty());
}

QTEST_MAIN(ContrastTest)
#include "ContrastTest.moc"
