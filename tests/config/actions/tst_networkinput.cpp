#include <QLineEdit>
#include <QRadioButton>
#include <QGroupBox>
#include <QtTest>

#include "networkinput.h"
#include "resetipwidget.h"

// Typed MAC addresses and IPv4 values, and the record the network reset
// page makes of its fields (nothing is sent here).
class TestNetworkInput : public QObject
{
    Q_OBJECT
private slots:
    void macText_data();
    void macText();
    void typedAddress_data();
    void typedAddress();
    void unreachableSettings();
    void resetRecord_data();
    void resetRecord();
    void newSettingsGroupFollowsTheChoice();
};

void TestNetworkInput::macText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");  // empty: refused
    QTest::newRow("upper case") << "00:1A:2B:3C:4D:5E" << QByteArray::fromHex("001a2b3c4d5e");
    QTest::newRow("lower case") << "de:ad:be:ef:00:01" << QByteArray::fromHex("deadbeef0001");
    QTest::newRow("one digit parts") << "0:1:2:3:4:5" << QByteArray::fromHex("000102030405");
    // What a half-filled masked field gives.
    QTest::newRow("incomplete") << "00:1A:2B:::" << QByteArray();
    QTest::newRow("empty field") << ":::::" << QByteArray();
    QTest::newRow("seven parts") << "00:1A:2B:3C:4D:5E:6F" << QByteArray();
    QTest::newRow("not hexadecimal") << "00:1A:2B:3C:4D:ZZ" << QByteArray();
    QTest::newRow("part too long") << "00:1A:2B:3C:4D:5E0" << QByteArray();
}

void TestNetworkInput::macText()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    std::array<uint8_t, 6> mac{{9, 9, 9, 9, 9, 9}};
    QCOMPARE(parseMacText(text, mac), !bytes.isEmpty());
    const QByteArray got(reinterpret_cast<const char *>(mac.data()), 6);
    QCOMPARE(got, bytes.isEmpty() ? QByteArray(6, '\x09') : bytes);  // untouched when refused
}

void TestNetworkInput::typedAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("address");  // empty: null
    QTest::newRow("padded") << "192.168.000.010" << "192.168.0.10";
    QTest::newRow("part above 255") << "300.1.2.3" << "255.1.2.3";
    QTest::newRow("empty masked field") << "..." << "0.0.0.0";
    QTest::newRow("three parts") << "10.1.2" << "";
    QTest::newRow("letters") << "10.a.2.3" << "";
}

void TestNetworkInput::typedAddress()
{
    QFETCH(QString, text);
    QFETCH(QString, address);
    QCOMPARE(typedIpv4(text), address.isEmpty() ? QHostAddress() : QHostAddress(address));
}

void TestNetworkInput::unreachableSettings()
{
    const QHostAddress ok(QStringLiteral("192.168.0.5"));
    const QHostAddress mask(QStringLiteral("255.255.255.0"));
    const QHostAddress zero(QHostAddress::AnyIPv4);
    QVERIFY(networkSettingsProblem(ok, mask).isEmpty());
    QVERIFY(!networkSettingsProblem(zero, mask).isEmpty());
    QVERIFY(!networkSettingsProblem(ok, zero).isEmpty());
    QVERIFY(!networkSettingsProblem(QHostAddress(), mask).isEmpty());
    QVERIFY(!networkSettingsProblem(ok, QHostAddress()).isEmpty());
}

void TestNetworkInput::resetRecord_data()
{
    QTest::addColumn<QString>("mac");
    QTest::addColumn<bool>("useNew");
    QTest::addColumn<QString>("ip");      // empty: the page's default
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QByteArray>("record");  // empty: refused
    QTest::addColumn<int>("mode");
    // The defaults travel along, although the unit ignores them then.
    QTest::newRow("defaults") << "00:1A:2B:3C:4D:5E" << false << "" << ""
                              << QByteArray::fromHex("001a2b3c4d5e0000c0a80064ffffff00") << 1;
    QTest::newRow("new settings") << "00:1A:2B:3C:4D:5E" << true << "010.001.002.003" << "255.255.000.000"
                                  << QByteArray::fromHex("001a2b3c4d5e00000a010203ffff0000") << 2;
    // Unused fields may hold anything while the defaults are chosen.
    QTest::newRow("defaults, empty fields") << "00:1A:2B:3C:4D:5E" << false << "..." << "..."
                                            << QByteArray::fromHex("001a2b3c4d5e00000000000000000000") << 1;
    QTest::newRow("incomplete MAC") << "00:1A:2B:3C::" << false << "" << "" << QByteArray() << 0;
    QTest::newRow("new address 0.0.0.0") << "00:1A:2B:3C:4D:5E" << true << "0.0.0.0" << "255.0.0.0" << QByteArray()
                                         << 0;
    QTest::newRow("new empty mask") << "00:1A:2B:3C:4D:5E" << true << "10.0.0.9" << "..." << QByteArray() << 0;
}

void TestNetworkInput::resetRecord()
{
    QFETCH(QString, mac);
    QFETCH(bool, useNew);
    QFETCH(QString, ip);
    QFETCH(QString, mask);
    QFETCH(QByteArray, record);
    QFETCH(int, mode);
    ResetIpWidget page;
    page.findChild<QLineEdit *>("leditMAC")->setText(mac);
    page.findChild<QRadioButton *>(useNew ? "rdioBtnNewNetwork" : "rdioBtnDefNetwork")->setChecked(true);
    if (!ip.isEmpty())
        page.findChild<QLineEdit *>("leditnewIP")->setText(ip);
    if (!mask.isEmpty())
        page.findChild<QLineEdit *>("leditnewSubnet")->setText(mask);
    BCAST_NET_CONFIG out;
    uint16_t gotMode = 0;
    QString problem;
    const bool built = page.buildRecord(out, gotMode, problem);
    QCOMPARE(built, !record.isEmpty());
    QCOMPARE(problem.isEmpty(), built);
    if (!built)
        return;
    out.mode = 0;  // the handler writes the mode into the record
    uint8_t bytes[BCAST_NET_CONFIG::kSize];
    out.toBytes(bytes);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(bytes), sizeof bytes).toHex(), record.toHex());
    QCOMPARE(int(gotMode), mode);
}

void TestNetworkInput::newSettingsGroupFollowsTheChoice()
{
    ResetIpWidget page;
    auto *group = page.findChild<QGroupBox *>("grpNewSett");
    QVERIFY(!group->isEnabled());
    page.findChild<QRadioButton *>("rdioBtnNewNetwork")->setChecked(true);
    QVERIFY(group->isEnabled());
    page.findChild<QLineEdit *>("leditnewIP")->setText(QStringLiteral("10.0.0.7"));
    page.findChild<QRadioButton *>("rdioBtnDefNetwork")->setChecked(true);
    QVERIFY(!group->isEnabled());
    QCOMPARE(page.findChild<QLineEdit *>("leditnewIP")->text(), QStringLiteral("10.0.0.7"));
}

QTEST_MAIN(TestNetworkInput)
#include "tst_networkinput.moc"
