// Byte layouts of the device records.
#include <QTest>

#include "devicerecords.h"

class TestDeviceRecords : public QObject
{
    Q_OBJECT

private slots:
    void heartbeatLayout();
    void refRunLayout();
    void productInfoLayout();
    void discoverRequestLayout();
    void discoveredDeviceLayout();
    void netConfigLayout();
    void nameCountIsClamped();
};

void TestDeviceRecords::heartbeatLayout()
{
    QByteArray raw(HearBeatMessage_t::kSize, '\0');
    for (int i = 0; i < raw.size(); ++i)
        raw[i] = char(i + 1);
    const auto hb = HearBeatMessage_t::fromBytes(reinterpret_cast<const uint8_t *>(raw.constData()));
    QCOMPARE(hb.deviceTime, 0x04030201u);
    QCOMPARE(hb.deviceState(), uint8_t(5));
    QCOMPARE(hb.openCircuit, uint8_t(9));
    QCOMPARE(hb.currentSkw[0], int16_t(0x0D0C));
    QCOMPARE(hb.currentSkw[6], int16_t(0x1918));
    QCOMPARE(hb.errorBits, 0x1D1C1B1Au);
    QCOMPARE(hb.errorCritical, uint8_t(30));
    QCOMPARE(hb.channelEnabled, uint8_t(31));
    QCOMPARE(hb.fieldbus.networkType, uint16_t(0x2120));
    QCOMPARE(hb.fieldbus.moduleType, uint16_t(0x2322));
    QCOMPARE(hb.fieldbus.moduleState, 0x27262524u);
    QCOMPARE(hb.fieldbus.commState, 0x2B2A2928u);
    QCOMPARE(hb.fieldbus.flags, uint8_t(0x2C));
    QCOMPARE(hb.saveStatus, int32_t(0x31302F2E));
    QCOMPARE(hb.configModified, uint8_t(50));
    QCOMPARE(hb.toByteArray(), raw);  // uninterpreted bytes survive
}

void TestDeviceRecords::refRunLayout()
{
    QByteArray raw(ReferenceRunResult_t::kSize, '\0');
    for (int i = 0; i < raw.size(); ++i)
        raw[i] = char(i);
    raw[0] = char(0x85);
    const auto r = ReferenceRunResult_t::fromBytes(reinterpret_cast<const uint8_t *>(raw.constData()));
    QVERIFY(r.scaleMode());
    QCOMPARE(r.channelMask(), uint8_t(0x05));
    QCOMPARE(r.previousReference[0], int16_t(0x0201));
    QCOMPARE(r.newReference[0], int16_t(0x100F));
    QCOMPARE(r.previousSkw[0], int16_t(0x1E1D));
    QCOMPARE(r.newSkw[6], int16_t(0x3837));
    QCOMPARE(r.previousFactor[0], uint8_t(57));
    QCOMPARE(r.newFactor[6], uint8_t(70));
    QCOMPARE(r.toByteArray(), raw);
}

void TestDeviceRecords::productInfoLayout()
{
    const QByteArray raw = QByteArray::fromHex("0300020039050103 0b0200");
    const auto p = ProductInfoRecord::fromBytes(reinterpret_cast<const uint8_t *>(raw.constData()));
    QCOMPARE(p.ethernetProtocolVersion, uint16_t(3));
    QCOMPARE(p.flashProtocolVersion, uint16_t(2));
    QCOMPARE(p.firmwareBuild, uint16_t(1337));
    QCOMPARE(p.firmwareModified, uint8_t(1));
    QCOMPARE(p.firmwareMajor, uint8_t(3));
    QCOMPARE(p.firmwareMinor, uint8_t(11));
    QCOMPARE(p.hardwareRevision, uint8_t(2));
    QCOMPARE(p.toByteArray(), raw);
}

void TestDeviceRecords::discoverRequestLayout()
{
    const auto r = MG_Discover_Request_t::make(QHostAddress(QStringLiteral("198.18.0.1")),
                                               QHostAddress(QStringLiteral("255.255.255.0")), 0x1234);
    QCOMPARE(r.toByteArray().toHex(), QByteArray("1eabdcba c6120001 ffffff00 3412").replace(' ', ""));
}

void TestDeviceRecords::discoveredDeviceLayout()
{
    DiscoveredDevice d;
    d.setIpAddress(QHostAddress(QStringLiteral("198.18.0.3")));
    d.setSubnetMask(QHostAddress(QStringLiteral("255.255.0.0")));
    uint8_t name[256] = {};
    std::memcpy(name, "Line 4", 6);
    name[250] = 6;
    d.setNameRecord(name);
    const uint8_t mac[6] = {0x02, 0x4b, 0x56, 0x12, 0x00, 0x03};
    d.setMacAddress(mac);
    const QByteArray raw = d.toByteArray();
    QCOMPARE(raw.size(), 275);
    QCOMPARE(raw.left(8).toHex(), QByteArray("c6120003ffff0000"));
    QCOMPARE(raw.mid(13, 6), QByteArray("Line 4"));
    QCOMPARE(raw.right(6).toHex(), QByteArray("024b56120003"));
    QCOMPARE(d.deviceName(), QStringLiteral("Line 4"));
    QCOMPARE(d.macText(), QStringLiteral("02:4b:56:12:00:03"));
    QCOMPARE(d.ipAddress(), QHostAddress(QStringLiteral("198.18.0.3")));
}

void TestDeviceRecords::netConfigLayout()
{
    BCAST_NET_CONFIG c;
    c.mac = {{1, 2, 3, 4, 5, 6}};
    c.mode = BCAST_NET_CONFIG::UseGivenValues;
    c.setIp(QHostAddress(QStringLiteral("10.1.2.3")));
    c.setMask(QHostAddress(QStringLiteral("255.255.255.0")));
    QCOMPARE(c.toByteArray().toHex(), QByteArray("010203040506" "0200" "0a010203" "ffffff00"));
    const QByteArray raw = c.toByteArray();
    const auto back = BCAST_NET_CONFIG::fromBytes(reinterpret_cast<const uint8_t *>(raw.constData()));
    QCOMPARE(back.ipAddress(), QHostAddress(QStringLiteral("10.1.2.3")));
    QCOMPARE(back.mode, uint16_t(2));
}

void TestDeviceRecords::nameCountIsClamped()
{
    // A count byte above 250 from a unit never reads past the text area.
    uint8_t name[256];
    std::memset(name, 'a', sizeof name);
    name[250] = 255;
    QCOMPARE(nameRecordText(name).size(), 250);
}

QTEST_GUILESS_MAIN(TestDeviceRecords)
#include "tst_devicerecords.moc"
