// On a screen with two pixels to a point every picture the program shows must come from a source
// with at least twice as many pixels as the points it covers, at its designed logical size.
#include "app/Application.h"
#include "app/Constants.h"
#include "app/MainForm.h"
#include "machine/Host.h"
#include "tests/support/FakeAreas.h"
#include "tests/support/FakeHost.h"
#include "tests/support/VirtualScreen.h"
#include "widgets/Forms.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QToolButton>

using namespace Ucomtc;

namespace {

// Answers the installed preview pictures from the ones in the source tree, so the test sees their
// real sizes; whether a sharp one "is installed" is up to each case.
class PictureHost : public FakeHost
{
public:
    QImage LoadImage(const QString& path) override
    {
        FakeHost::LoadImage(path); // logged and, where a case says so, missing
        return QImage(QStringLiteral(LAPSTONE_SOURCE_IMAGES "/") + QFileInfo(path).fileName());
    }
};

QString Sharp(const char* path)
{
    return QString::fromLatin1(path).replace(QLatin1String(".jpg"), QLatin1String("@2x.jpg"));
}

bool IsSharp(const QPixmap& pixmap, QSize logical)
{
    return pixmap.width() >= 2 * logical.width() && pixmap.height() >= 2 * logical.height();
}

} // namespace

class HiDpiTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyPictureIsSharp();
    void previewsKeepTheirSizeWithoutSharpFiles();

private:
    PictureHost host_;
    ScopedHost scope_{host_};
    FakeAreas areas_;
    TApplication application_{areas_.areas()};
    TMainForm1* main_ = nullptr;
};

void HiDpiTest::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    for (const char* file : ImageFiles)
        host_.files.insert(Sharp(file), true);
    application_.CreateForms();
    main_ = application_.MainForm();
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_));
    QTRY_VERIFY(host_.log.contains(QStringLiteral("image: ") + Sharp(ImageFiles[StartImageIndex])));
}

void HiDpiTest::everyPictureIsSharp()
{
    for (const QString& name : application_.FormNames()) {
        QWidget* form = FindForm(name);
        const QPixmap icon = form->windowIcon().pixmap(QSize(32, 32), 2.0);
        QVERIFY2(IsSharp(icon, QSize(32, 32)), qPrintable(form->objectName()));
        for (auto* button : form->findChildren<QToolButton*>()) {
            if (button->icon().isNull())
                continue;
            QVERIFY2(IsSharp(button->icon().pixmap(button->iconSize(), 2.0), button->iconSize()),
                     qPrintable(button->objectName()));
        }
        for (auto* label : form->findChildren<QLabel*>()) {
            const QPixmap picture = label->pixmap();
            if (picture.isNull())
                continue;
            const QSize logical = picture.deviceIndependentSize().toSize();
            QVERIFY2(IsSharp(picture, logical),
                     qPrintable(form->objectName() + QLatin1Char('.') + label->objectName()));
        }
    }
    // The designed logical sizes stay: the banner, a device icon, the 508 x 470 preview.
    QCOMPARE(main_->findChild<QLabel*>(QStringLiteral("Imagehead"))->pixmap().deviceIndependentSize(),
             QSizeF(521, 39));
    QCOMPARE(main_->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().deviceIndependentSize(),
             QSizeF(508, 470));
    QCOMPARE(FindForm(QStringLiteral("NubstickFor"))
                 ->findChild<QLabel*>(QStringLiteral("Image1"))
                 ->pixmap()
                 .deviceIndependentSize(),
             QSizeF(28, 28));
}

void HiDpiTest::previewsKeepTheirSizeWithoutSharpFiles()
{
    // An older installation has only the designed pictures: those are shown, at their size.
    const QString power = QString::fromLatin1(ImageFiles[7]);
    host_.files.insert(Sharp(ImageFiles[7]), false);
    host_.log.clear();
    auto* button = main_->findChild<QToolButton*>(QStringLiteral("SpdButtonPower"));
    QVERIFY(button != nullptr);
    button->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(host_.log, QStringList{QStringLiteral("image: ") + power});
    QCOMPARE(main_->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().deviceIndependentSize(),
             QSizeF(508, 470));
}

int main(int argc, char* argv[])
{
    UseVirtualScreen(QSize(1920, 1080), 2.0);
    QApplication application(argc, argv);
    HiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HiDpiTest.moc"
