#include "devicenamerecord.h"

#include <QtTest>

class TestDeviceNameRecord : public QObject
{
    Q_OBJECT
private slots:
    void layout();
    void roundTrip_data();
    void roundTrip();
    void overlongCutAtSequenceBoundary_data();
    void overlongCutAtSequenceBoundary();
    void damagedRecords_data();
    void damagedRecords();
    void fromBytesRefusesWrongSize();
};

void TestDeviceNameRecord::layout()
{
    DeviceNameRecord r(QStringLiteral("Pumpe Süd"));
    const QByteArray b = r.toBytes();
    QCOMPARE(b.size(), 256);
    const QByteArray utf8 = QStringLiteral("Pumpe Süd").toUtf8();
    QCOMPARE(b.left(utf8.size()), utf8);
    QCOMPARE(uint8_t(b.at(250)), uint8_t(utf8.size()));
    for (int i = utf8.size(); i < 256; ++i) {
        if (i != 250)
            QCOMPARE(int(b.at(i)), 0);
    }
}

void TestDeviceNameRecord::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("ascii") << QStringLiteral("Line 4 gearbox");
    QTest::newRow("250 ascii") << QString(250, QLatin1Char('a'));
    QTest::newRow("125 two-byte") << QString(125, QChar(0x00E4));
    // 62 four-byte sequences (248 bytes) + 2 ascii = exactly 250
    QString emoji;
    for (int i = 0; i < 62; ++i)
        emoji += QString::fromUcs4(U"\U0001F527", 1);
    QTest::newRow("four-byte up to 250") << emoji + QStringLiteral("ok");
}

void TestDeviceNameRecord::roundTrip()
{
    QFETCH(QString, text);
    DeviceNameRecord r;
    QVERIFY(r.setText(text));
    DeviceNameRecord back;
    QVERIFY(DeviceNameRecord::fromBytes(r.toBytes(), &back));
    QCOMPARE(back.text(), text);
    QVERIFY(back == r);
}

void TestDeviceNameRecord::overlongCutAtSequenceBoundary_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("251 ascii") << QString(251, QLatin1Char('x')) << QString(250, QLatin1Char('x'));
    // 249 ascii + one 2-byte char: the 2-byte char would straddle byte 250
    QTest::newRow("two-byte straddles") << QString(249, QLatin1Char('x')) + QChar(0x00E9)
                                        << QString(249, QLatin1Char('x'));
    // 248 ascii + 3-byte char
    QTest::newRow("three-byte straddles") << QString(248, QLatin1Char('x')) + QChar(0x20AC)
                                          << QString(248, QLatin1Char('x'));
    // 247 ascii + 4-byte char
    QTest::newRow("four-byte straddles")
        << QString(247, QLatin1Char('x')) + QString::fromUcs4(U"\U0001F527", 1)
        << QString(247, QLatin1Char('x'));
}

void TestDeviceNameRecord::overlongCutAtSequenceBoundary()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    DeviceNameRecord r;
    QVERIFY(!r.setText(text));
    QCOMPARE(r.text(), expected);
    QVERIFY(r.data()[250] <= 250);
    QCOMPARE(int(r.data()[250]), expected.toUtf8().size());
}

void TestDeviceNameRecord::damagedRecords_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QByteArray big(256, 'n');
    big[250] = char(255);  // length beyond the text area
    for (int i = 251; i < 256; ++i)
        big[i] = 0;
    QTest::newRow("length over 250") << big << QString(250, QLatin1Char('n'));

    QByteArray cut(256, 0);
    cut[0] = 'a';
    cut[1] = char(0xE2);  // first two bytes of the euro sign only
    cut[2] = char(0x82);
    cut[250] = 3;
    QTest::newRow("sequence cut at length") << cut << QStringLiteral("a");
}

void TestDeviceNameRecord::damagedRecords()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    DeviceNameRecord r;
    QVERIFY(DeviceNameRecord::fromBytes(bytes, &r));
    QCOMPARE(r.text(), expected);
}

void TestDeviceNameRecord::fromBytesRefusesWrongSize()
{
    DeviceNameRecord r(QStringLiteral("keep"));
    QVERIFY(!DeviceNameRecord::fromBytes(QByteArray(255, 'z'), &r));
    QVERIFY(!DeviceNameRecord::fromBytes(QByteArray(257, 'z'), &r));
    QCOMPARE(r.text(), QStringLiteral("keep"));
}

QTEST_GUILESS_MAIN(TestDeviceNameRecord)
#include "tst_devicenamerecord.moc"
