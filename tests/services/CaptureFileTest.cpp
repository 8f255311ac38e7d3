// Reading labelled values out of capture files, with the real shell removing them afterwards.
#include "areas/batteries/Constants.h"
#include "areas/system/Constants.h"
#include "machine/Capture.h"
#include "machine/IoError.h"
#include "tests/support/TestData.h"
#include "tests/support/Unprivileged.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <array>

using namespace Ucomtc;

class CaptureFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void findsKeysInOrder_data();
    void findsKeysInOrder();
    void readsDmiKeysFromADump();
    void missingFileGivesBlanks();
    void removesTheFileAfterReading();
    void unreadableFileRaisesAndStays();
    void splitsLines_data();
    void splitsLines();
    void trimsOnlyBlanksAndTabs();
    void valueAfterKeyCutsByKeyLength();

private:
    QString write(const QByteArray& content);
    QTemporaryDir dir_;
};

void CaptureFileTest::init()
{
    QVERIFY(dir_.isValid());
}

QString CaptureFileTest::write(const QByteArray& content)
{
    const QString path = dir_.filePath(QStringLiteral("capture"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        qFatal("cannot write the capture file");
    return path;
}

static const std::array<const char*, 4> Keys{"Alpha:", "Beta:", "Gamma:", "Alpha:"};

void CaptureFileTest::findsKeysInOrder_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("all in order") << QByteArray("Alpha: 1\nBeta: 2\nGamma: 3\nAlpha: 4\n") << 4
                                  << QStringList{"1", "2", "3", "4"};
    QTest::newRow("a key before its turn is passed over")
        << QByteArray("Beta: early\nAlpha: 1\nBeta: 2\nGamma: 3\n") << 3 << QStringList{"1", "2", "3"};
    QTest::newRow("one line serves one key only")
        << QByteArray("Alpha: 1 Beta: x\nBeta: 2\nGamma: 3\n") << 3 << QStringList{"1 Beta: x", "2", "3"};
    QTest::newRow("a repeated key takes the next occurrence")
        << QByteArray("Alpha: 1\nAlpha: skipped\nBeta: 2\nGamma: 3\nAlpha: 4\n") << 4
        << QStringList{"1", "2", "3", "4"};
    QTest::newRow("a key never found empties it and every later one")
        << QByteArray("Alpha: 1\nGamma: 3\nAlpha: 4\n") << 4 << QStringList{"1", "", "", ""};
    QTest::newRow("count limits the keys")
        << QByteArray("Alpha: 1\nBeta: 2\nGamma: 3\n") << 2 << QStringList{"1", "2"};
    QTest::newRow("trailing blanks stay, leading tabs go")
        << QByteArray("\tAlpha: \t 1.07  \nBeta:2\n") << 2 << QStringList{"1.07  ", "2"};
    QTest::newRow("key inside the line still cuts from the start")
        << QByteArray("BIOS Alpha: 1.2\n") << 1 << QStringList{"lpha: 1.2"};
    QTest::newRow("case matters") << QByteArray("alpha: 1\nALPHA: 2\n") << 1 << QStringList{""};
    QTest::newRow("empty file") << QByteArray() << 2 << QStringList{"", ""};
}

void CaptureFileTest::findsKeysInOrder()
{
    QFETCH(QByteArray, content);
    QFETCH(int, count);
    QFETCH(QStringList, expected);
    QCOMPARE(ReadCaptureFile(write(content), count, Keys), expected);
}

void CaptureFileTest::readsDmiKeysFromADump()
{
    const QByteArray dump = TestData(QStringLiteral("dmidecode-veltor.txt"));
    QVERIFY(!dump.isEmpty());
    const TStringinfo values = ReadCaptureFile(write(dump), 6, DmiKeys);
    QCOMPARE(values, (QStringList{"1.07    ", "03/14/2007", "LS-5400/7215-R3", "SU7215R3004417", "BB0704417X",
                                  "Controller Version    : 1.12.0005  (2007/03/02)"}));

    // The battery key list: "Manufacture:" must not take the "ManufactureDate:" line.
    const TStringinfo info = ReadCaptureFile(
        write("ManufactureDate: 2006/11/20\nManufacture: Sonic\nDevice Name: LS41\n"), 2, BatteryInfoKeys);
    QCOMPARE(info, (QStringList{"Sonic", "LS41"}));
}

void CaptureFileTest::missingFileGivesBlanks()
{
    const TStringinfo values = ReadCaptureFile(dir_.filePath(QStringLiteral("absent")), 6, DmiKeys);
    QCOMPARE(values, QStringList(6, QStringLiteral(" ")));
}

void CaptureFileTest::removesTheFileAfterReading()
{
    const QString path = write("Alpha: 1\n");
    ReadCaptureFile(path, 1, Keys);
    QVERIFY(!QFile::exists(path));

    // Also when no key was found at all.
    const QString other = write("nothing here\n");
    QCOMPARE(ReadCaptureFile(other, 3, Keys), (QStringList{"", "", ""}));
    QVERIFY(!QFile::exists(other));
}

void CaptureFileTest::unreadableFileRaisesAndStays()
{
    QVERIFY(QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ExeOwner | QFileDevice::ExeOther |
                                                   QFileDevice::ReadOther | QFileDevice::WriteOther));
    const QString path = write("Alpha: 1\n");
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    const int outcome = RunUnprivileged([&] {
        try {
            ReadCaptureFile(path, 1, Keys);
            return 1;
        } catch (const IoError& error) {
            return QString::fromUtf8(error.what()).startsWith(path) ? 0 : 2;
        }
    });
    QCOMPARE(outcome, 0);
    QVERIFY(QFile::exists(path));
}

void CaptureFileTest::splitsLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("line feeds") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("last line without line feed") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("carriage returns are never part of a line")
        << QByteArray("a \r\nb\r\n") << QStringList{"a ", "b"};
    QTest::newRow("empty lines stay") << QByteArray("\n\nc\n") << QStringList{"", "", "c"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void CaptureFileTest::splitsLines()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, lines);
    const QString path = write(content);
    QCOMPARE(ReadCaptureLines(path), lines);
}

void CaptureFileTest::trimsOnlyBlanksAndTabs()
{
    QCOMPARE(TrimLeadingBlanks(QString()), QString());
    QCOMPARE(TrimLeadingBlanks(QStringLiteral(" \t \t")), QString());
    QCOMPARE(TrimLeadingBlanks(QStringLiteral("\t 95 % ")), QStringLiteral("95 % "));
    QCOMPARE(TrimLeadingBlanks(QStringLiteral("\x01 x")), QStringLiteral("\x01 x"));
    QCOMPARE(TrimLeadingBlanks(QStringLiteral("\n x")), QStringLiteral("\n x"));
}

void CaptureFileTest::valueAfterKeyCutsByKeyLength()
{
    QCOMPARE(ValueAfterKey(QStringLiteral("RelativeStateofCharge:   95 %"),
                           QStringLiteral("RelativeStateofCharge:")),
             QStringLiteral("95 %"));
    QCOMPARE(ValueAfterKey(QStringLiteral("BIOS Version: 1.2"), QStringLiteral("Version:")),
             QStringLiteral("sion: 1.2"));
    QCOMPARE(ValueAfterKey(QStringLiteral("Version:"), QStringLiteral("Version:")), QString());
    QCOMPARE(ValueAfterKey(QStringLiteral("no key"), QStringLiteral("Version:")), QStringLiteral("Error"));
}

QTEST_GUILESS_MAIN(CaptureFileTest)
#include "CaptureFileTest.moc"
