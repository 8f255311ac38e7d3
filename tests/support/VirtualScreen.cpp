#include "tests/support/VirtualScreen.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUuid>

void UseVirtualScreen(QSize size, double devicePixelRatio)
{
    const QJsonObject screen{
        {QStringLiteral("name"), QStringLiteral("virtual")},
        {QStringLiteral("x"), 0},
        {QStringLiteral("y"), 0},
        {QStringLiteral("width"), qRound(size.width() * devicePixelRatio)},
        {QStringLiteral("height"), qRound(size.height() * devicePixelRatio)},
        // The ratio comes from the screen's dots per inch, as on X11 with a scale factor: Qt 6.8's
        // offscreen windows leave a "dpr" of the screen out of their own (they show at 1 on it).
        {QStringLiteral("logicalDpi"), 96 * devicePixelRatio},
        {QStringLiteral("logicalBpi"), 96},
    };
    const QJsonObject configuration{
        {QStringLiteral("synchronousWindowSystemEvents"), false},
        {QStringLiteral("windowFrameMargins"), true},
        {QStringLiteral("screens"), QJsonArray{screen}},
    };
    const QString path = QDir::tempPath() + QStringLiteral("/virtual-screen-") +
                         QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".json");
    // The platform reads the file while the application object is built; it goes when the test ends.
    static const struct Removal
    {
        QString path;
        ~Removal() { QFile::remove(path); }
    } removal{path};
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(configuration).toJson()) < 0)
        qFatal("cannot write %s", qPrintable(path));
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(path));
}

QSize ScreenSizeFromEnvironment(QSize fallback)
{
    const auto match = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$"))
                           .match(QString::fromLocal8Bit(qgetenv("LAPSTONE_TEST_SCREEN")));
    return match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : fallback;
}
