// Where the windows open: the designed places on a screen that holds them, the least move into
// view on one that does not. The screen comes from LAPSTONE_TEST_SCREEN; ctest runs this once for
// each of 1024 × 768, 1366 × 768 and 1920 × 1080. The forms run on fake areas.
#include "widgets/Placement.h"
#include "app/Application.h"
#include "app/MainForm.h"
#include "areas/system/Constants.h"
#include "machine/Host.h"
#include "tests/support/FakeAreas.h"
#include "tests/support/FakeHost.h"
#include "tests/support/VirtualScreen.h"
#include "widgets/FormEvents.h"
#include "widgets/Forms.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace Ucomtc;

class PlacementTest : public QObject
{
    Q_OBJECT

private slots:
    void fitMovesTheLeastDistance_data();
    void fitMovesTheLeastDistance();
    void everyWindowLiesOnTheScreen();
    void designedPlacesStayWhereTheyFit();
    void messageBoxesOpenOverTheirWindow();

private:
    FakeHost host_; // the pictures
    ScopedHost scope_{host_};
    FakeAreas areas_;

    // Creates the program's forms and shows the main window; nullptr when it did not appear.
    TMainForm1* ShowMainWindow(TApplication& application)
    {
        application.CreateForms();
        TMainForm1* main = application.MainForm();
        main->show();
        // Up once its start is over: the dump follows the window's first painting.
        const bool started = QTest::qWaitForWindowExposed(main) &&
                             QTest::qWaitFor([main] { return ShowHandlersRun(main) > 0; });
        return started ? main : nullptr;
    }
    QRect Available() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
};

void PlacementTest::fitMovesTheLeastDistance_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QPoint>("expected");
    const QRect screen(0, 0, 1366, 768);
    QTest::newRow("fits") << QRect(590, 100, 410, 350) << QPoint(590, 100);
    QTest::newRow("below") << QRect(590, 622, 410, 350) << QPoint(590, 418);
    QTest::newRow("right and below") << QRect(1200, 700, 410, 350) << QPoint(956, 418);
    QTest::newRow("above and left") << QRect(-30, -5, 410, 350) << QPoint(0, 0);
    QTest::newRow("taller than the screen") << QRect(10, 100, 410, 900) << QPoint(10, 0);
}

void PlacementTest::fitMovesTheLeastDistance()
{
    QFETCH(QRect, frame);
    QFETCH(QPoint, expected);
    QCOMPARE(FitInto(frame, QRect(0, 0, 1366, 768)), expected);
    // A screen that does not start at the origin (a second monitor, a panel on top).
    QCOMPARE(FitInto(frame.translated(100, 40), QRect(100, 40, 1366, 768)), expected + QPoint(100, 40));
}

void PlacementTest::everyWindowLiesOnTheScreen()
{
    TApplication application(areas_.areas());
    TMainForm1* main = ShowMainWindow(application);
    QVERIFY(main != nullptr);

    QList<QWidget*> windows{main};
    for (const QString& name : application.FormNames().mid(1))
        windows.append(FindForm(name));
    const auto box =
        CreateMessageBox(MessageKind::Error, QStringLiteral("command dmidecode not found"), main);
    windows.append(box.get());

    for (QWidget* window : windows) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // The frame, title bar included, as the window system has it.
        const QRect frame = window->windowHandle()->frameGeometry();
        QVERIFY2(Available().contains(frame),
                 qPrintable(
                     window->objectName() + QStringLiteral(" at ") +
                     QString::asprintf("%d,%d %dx%d", frame.x(), frame.y(), frame.width(), frame.height())));
        window->hide();
    }
}

void PlacementTest::designedPlacesStayWhereTheyFit()
{
    TApplication application(areas_.areas());
    TMainForm1* main = ShowMainWindow(application);
    QVERIFY(main != nullptr);
    // The main window opens centred on the screen (give or take its frame, unknown before the
    // first showing).
    QVERIFY((main->geometry().center() - Available().center()).manhattanLength() <= 8);

    const std::pair<const char*, QPoint> designed[] = {
        {"SecureForm1", QPoint(590, 622)},
        {"ResumeForm1", QPoint(590, 417)},
    };
    for (const auto& [name, place] : designed) {
        QWidget* dialog = FindForm(QLatin1String(name));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        const QRect wanted(place, dialog->windowHandle()->frameGeometry().size());
        if (Available().contains(wanted))
            QCOMPARE(dialog->pos(), place);
        else // moved, but only as far as it takes
            QCOMPARE(dialog->pos(), FitInto(wanted, Available()));
        dialog->hide();
    }
    if (Available().height() >= 1080) // the designer's screen: nothing moves
        QCOMPARE(FindForm(QStringLiteral("SecureForm1"))->pos(), QPoint(590, 622));
}

void PlacementTest::messageBoxesOpenOverTheirWindow()
{
    TApplication application(areas_.areas());
    TMainForm1* main = ShowMainWindow(application);
    QVERIFY(main != nullptr);
    ScopedMessageSink boxes({}); // real boxes
    // Each box that opens: the window it belongs to and how far it stands off that window's centre.
    QList<std::pair<QWidget*, int>> shown;
    auto* touchpad = qobject_cast<QDialog*>(FindForm(QStringLiteral("TouchPadForm1")));
    QTimer answer;
    answer.callOnTimeout([&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            box && box->isVisible()) {
            QWidget* over = box->parentWidget();
            shown.append({over, over != nullptr
                                    ? (box->geometry().center() - over->geometry().center()).manhattanLength()
                                    : -1});
            box->accept();
            if (over == touchpad)
                touchpad->reject();
        }
    });
    answer.start(10);

    ShowError(QString::fromLatin1(MsgDmidecodeNotFound));
    // The touch pad dialog's show handler reports what reading the device said as the dialog opens.
    areas_.script().devices.insert(
        PointingDevice::Touchpad,
        {std::nullopt, {{MessageKind::Error, QStringLiteral("command synclient not found")}}});
    touchpad->exec();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].first, main);
    QCOMPARE(shown[1].first, touchpad);
    for (const auto& [over, offCentre] : shown) // centred, but for a move to stay on the screen
        QVERIFY2(offCentre <= 2 || !Available().contains(over->frameGeometry()),
                 qPrintable(over->objectName()));
}

int main(int argc, char* argv[])
{
    UseVirtualScreen(ScreenSizeFromEnvironment(QSize(1024, 768)));
    QApplication application(argc, argv);
    PlacementTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PlacementTest.moc"
