#include <QtTest>

#include "fieldbusfields.h"

using namespace fieldbus;

// The record codec of the fieldbus page where the page's inputs cannot
// reach: text that the address mask would never let through, and names on
// the unit that are not in the page's own encoding.
class TestFieldbusFields : public QObject
{
    Q_OBJECT
private slots:
    void addressText_data();
    void addressText();
    void foreignNameBytesKept();
    void comboOutsideList();
};

void TestFieldbusFields::addressText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");  // empty: refused, the field unchanged
    QTest::newRow("plain") << "192.168.0.10" << QByteArray::fromHex("c0a8000a");
    QTest::newRow("blanks around") << " 10.0.0.1 " << QByteArray::fromHex("0a000001");
    QTest::newRow("padding zeros are decimal") << "010.001.000.099" << QByteArray::fromHex("0a010063");
    QTest::newRow("no address") << "0.0.0.0" << QByteArray(4, '\0');
    QTest::newRow("highest") << "255.255.255.255" << QByteArray::fromHex("ffffffff");
    // Each of these was once stored as a guess (a part cut to 255, an empty
    // part as 0, or the whole address as 0.0.0.0): an address nobody typed.
    QTest::newRow("part above 255") << "999.001.001.001" << QByteArray();
    QTest::newRow("last part above 255") << "10.0.0.256" << QByteArray();
    QTest::newRow("empty part") << "192.168..1" << QByteArray();
    QTest::newRow("only dots") << "..." << QByteArray();
    QTest::newRow("three parts") << "1.2.3" << QByteArray();
    QTest::newRow("five parts") << "1.2.3.4.5" << QByteArray();
    QTest::newRow("hexadecimal") << "0x10.0.0.1" << QByteArray();
    QTest::newRow("letters") << "a.b.c.d" << QByteArray();
    QTest::newRow("sign") << "+1.2.3.4" << QByteArray();
    QTest::newRow("empty") << "" << QByteArray();
}

void TestFieldbusFields::addressText()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    Anybus_cfg cfg;
    std::memset(cfg.data(), 0x77, Anybus_cfg::kSize);
    const bool taken = !bytes.isEmpty();
    QCOMPARE(isIpv4Text(text), taken);
    QCOMPARE(setIpv4(cfg, Anybus_cfg::kGatewayOffset, text), taken);
    const QByteArray field = taken ? bytes : QByteArray(4, 0x77);
    QCOMPARE(cfg.toBytes().mid(Anybus_cfg::kGatewayOffset, 4).toHex(), field.toHex());
    QCOMPARE(cfg.toBytes().mid(Anybus_cfg::kGatewayOffset + 4, 4), QByteArray(4, 0x77));
}

void TestFieldbusFields::foreignNameBytesKept()
{
    // A Latin-1 name as another tool may have stored it: not UTF-8.
    Anybus_cfg cfg;
    const QByteArray latin1("S\xfc" "d-3");
    std::memcpy(cfg.data() + kHostName.offset, latin1.constData(), size_t(latin1.size()));
    const QByteArray before = cfg.toBytes();
    const QString shown = nameText(cfg, kHostName);
    QVERIFY(setName(cfg, kHostName, shown));
    QCOMPARE(cfg.toBytes(), before);
    // A real change is stored as UTF-8.
    QVERIFY(setName(cfg, kHostName, QStringLiteral("S\u00fcd-4")));
    QCOMPARE(cfg.toBytes().mid(kHostName.offset, 7), QByteArray("S\xc3\xbc" "d-4\0", 7));
}

void TestFieldbusFields::comboOutsideList()
{
    QCOMPARE(comboIndex(2, 3), 2);
    QCOMPARE(comboIndex(3, 3), -1);
    Anybus_cfg cfg;
    cfg.data()[offset::kMdi1] = 9;
    setComboByte(cfg, offset::kMdi1, -1);
    QCOMPARE(int(cfg.data()[offset::kMdi1]), 9);
    setComboByte(cfg, offset::kMdi1, 1);
    QCOMPARE(int(cfg.data()[offset::kMdi1]), 1);
}

QTEST_MAIN(TestFieldbusFields)
#include "tst_fieldbusfields.moc"
