#include "configblob.h"
#include "configrecords.h"

#include <QtTest>

namespace {

CFG_ChannelMapping_struct catalogueMapping(int32_t id, uint16_t tau = 700)
{
    auto m = ConfigBlob::defaultMappingEntry();
    m.setId(id);
    m.setTau(tau);
    m.setChannelMask(0);
    return m;
}

CFG_Sensor_struct catalogueSensor(int32_t id, uint8_t high = 200)
{
    auto s = ConfigBlob::defaultSensorEntry();
    s.setId(id);
    s.setIepeHighVoltage(high);
    return s;
}

CFG_Blob_struct_sorted sealedDefault()
{
    auto blob = ConfigBlob::defaultBlob(1);
    ConfigBlob::seal(blob, 2);
    return blob;
}

} // namespace

class TestConfigBlob : public QObject
{
    Q_OBJECT
private slots:
    void recordSizesAndOffsets();
    void recordsTakeOnlyTheirSize();
    void connectionAddressesFirstPartFirst();
    void defaultConfigPutsChannelNInEntryN();
    void sealThenCheck();
    void flippedByteFailsCheck_data();
    void flippedByteFailsCheck();
    void sealDependsOnSeedOnly();
    void sameCatalogueIdSharesEntry();
    void movingChannelReusesMatchingOrFreeEntry();
    void customEntriesNeverShare();
    void replacementReusesLastEntryWithSameId();
    void fullListKeepsClearedBit();
    void emptyListChangesNothing();
    void entryIndexHonoursListLength();
    void invalidEntries_data();
    void invalidEntries();
    void checkReportsEveryInvalidEntry();
};

void TestConfigBlob::recordSizesAndOffsets()
{
    auto blob = ConfigBlob::defaultBlob(0);
    QCOMPARE(blob.headWord(0), 0u);
    QCOMPARE(blob.headWord(1), 392u);
    QCOMPARE(blob.headWord(2), 84u);
    auto m = catalogueMapping(0x01020304);
    m.setCoefficient(11, -2);
    m.setReferenceScaleFactor(0x42);
    m.setChannelMask(0x05);
    blob.setMapping(3, m);
    const uint8_t *p = blob.data() + 12 + 56 * 3;
    QCOMPARE(int(p[0]), 4);
    QCOMPARE(int(p[3]), 1);
    QCOMPARE(int(p[26]), 0xFE);
    QCOMPARE(int(p[27]), 0xFF);
    QCOMPARE(int(p[34]), 0x42);
    QCOMPARE(int(p[35]), 0x05);
    auto s = catalogueSensor(9, 201);
    s.setChannelMask(0x11);
    blob.setSensor(6, s);
    QCOMPARE(int(blob.data()[404 + 72 + 4]), 201);
    QCOMPARE(int(blob.data()[404 + 72 + 6]), 0x11);
    blob.setReferenceMac(0x0000A1B2C3D4E5F6ull);
    QCOMPARE(int(blob.data()[488]), 0xF6);
    QCOMPARE(int(blob.data()[493]), 0xA1);
}

void TestConfigBlob::recordsTakeOnlyTheirSize()
{
    bool ok = true;
    for (int delta : {-1, 1}) {
        CFG_Device_Param_struct::fromBytes(QByteArray(64 + delta, 1), &ok);
        QVERIFY(!ok);
        CFG_ConnectionParameters_struct::fromBytes(QByteArray(16 + delta, 1), &ok);
        QVERIFY(!ok);
        CFG_Blob_struct_sorted::fromBytes(QByteArray(512 + delta, 1), &ok);
        QVERIFY(!ok);
        Anybus_cfg::fromBytes(QByteArray(567 + delta, 1), &ok);
        QVERIFY(!ok);
    }
    QByteArray bytes(64, 0);
    bytes[0] = 0x34;
    bytes[1] = 0x12;
    bytes[8 + 8 * 6 + 4] = char(0xFE);
    bytes[8 + 8 * 6 + 5] = char(0xFF);
    const auto d = CFG_Device_Param_struct::fromBytes(bytes, &ok);
    QVERIFY(ok);
    QCOMPARE(d.debounceTime(), uint16_t(0x1234));
    QCOMPARE(d.referenceSkw(6), int16_t(-2));
    QCOMPARE(d.toBytes(), bytes);
}

void TestConfigBlob::connectionAddressesFirstPartFirst()
{
    CFG_ConnectionParameters_struct c;
    c.setIpAddress(QHostAddress(QStringLiteral("192.168.7.100")));
    c.setSubnetMask(QHostAddress(QStringLiteral("255.255.240.0")));
    QCOMPARE(c.toBytes().left(8).toHex(), QByteArray("c0a80764fffff000"));
    QCOMPARE(c.ipAddress(), QHostAddress(QStringLiteral("192.168.7.100")));
    QCOMPARE(c.subnetMask(), QHostAddress(QStringLiteral("255.255.240.0")));
    c.data()[10] = 0x5A;  // the last 8 bytes are kept as they are
    c.setIpAddress(QHostAddress(QStringLiteral("10.0.0.1")));
    QCOMPARE(int(c.data()[10]), 0x5A);
}

void TestConfigBlob::defaultConfigPutsChannelNInEntryN()
{
    const auto blob = sealedDefault();
    QVERIFY(!ConfigBlob::checkBlob(blob));
    QCOMPARE(blob.referenceMac(), 0ull);
    const auto dm = ConfigBlob::defaultMappingEntry();
    const auto ds = ConfigBlob::defaultSensorEntry();
    for (uint8_t ch = 0; ch < 7; ++ch) {
        QCOMPARE(ConfigBlob::mappingEntryIndex(blob, ch), ch);
        QCOMPARE(ConfigBlob::sensorEntryIndex(blob, ch), ch);
        const auto m = blob.mapping(ch);
        QCOMPARE(int(m.channelMask()), 1 << ch);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(m.data()), 35),
                 QByteArray(reinterpret_cast<const char *>(dm.data()), 35));
        const auto s = blob.sensor(ch);
        QCOMPARE(int(s.channelMask()), 1 << ch);
        QCOMPARE(s.id(), -1);
        QCOMPARE(int(s.iepeHighVoltage()), int(ds.iepeHighVoltage()));
        QCOMPARE(int(s.iepeLowVoltage()), 60);
    }
    QCOMPARE(ConfigBlob::mappingEntryIndex(blob, 7), kNoEntry);
}

void TestConfigBlob::sealThenCheck()
{
    auto blob = ConfigBlob::defaultBlob(5);
    QVERIFY(ConfigBlob::checkBlob(blob));  // not sealed yet: no CRC
    blob.setHeadWords(0xDEAD, 0, 0);
    ConfigBlob::seal(blob, 77);
    QCOMPARE(blob.headWord(0), 0u);
    QCOMPARE(blob.headWord(1), 392u);
    QCOMPARE(blob.headWord(2), 84u);
    QStringList messages;
    QVERIFY(!ConfigBlob::checkBlob(blob, &messages));
    QVERIFY(messages.isEmpty());
}

void TestConfigBlob::flippedByteFailsCheck_data()
{
    QTest::addColumn<int>("offset");
    QTest::newRow("head word") << 0;
    QTest::newRow("mapping tau") << 12 + 28;
    QTest::newRow("mapping reserved") << 12 + 40;
    QTest::newRow("sensor voltage") << 404 + 4;
    QTest::newRow("mac") << 490;
    QTest::newRow("filler") << 500;
    QTest::newRow("last covered byte") << 507;
    QTest::newRow("crc itself") << 510;
}

void TestConfigBlob::flippedByteFailsCheck()
{
    QFETCH(int, offset);
    auto blob = sealedDefault();
    blob.data()[offset] ^= 0x01;
    QStringList messages;
    QVERIFY(ConfigBlob::checkBlob(blob, &messages));
    QVERIFY2(messages.isEmpty(), "a CRC mismatch alone is silent");
}

void TestConfigBlob::sealDependsOnSeedOnly()
{
    auto a = ConfigBlob::defaultBlob(1);
    auto b = a;
    auto c = a;
    ConfigBlob::seal(a, 1000);
    ConfigBlob::seal(b, 2000);
    ConfigBlob::seal(c, 1000);
    QVERIFY(a != b);
    QCOMPARE(a.toBytes(), c.toBytes());
    QVERIFY(a.crc() != b.crc());
    QVERIFY(!ConfigBlob::checkBlob(a));
    QVERIFY(!ConfigBlob::checkBlob(b));
    // only reserved bytes, filler and CRC differ
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(a.mapping(i).toBytes().left(36), b.mapping(i).toBytes().left(36));
        QCOMPARE(a.sensor(i).toBytes().left(7), b.sensor(i).toBytes().left(7));
    }
}

void TestConfigBlob::sameCatalogueIdSharesEntry()
{
    auto blob = sealedDefault();
    QCOMPARE(ConfigBlob::replaceMappingEntry(blob, catalogueMapping(42), 2), uint8_t(2));
    // channel 5 gets the same catalogue mapping: it joins entry 2 and frees 5
    QCOMPARE(ConfigBlob::replaceMappingEntry(blob, catalogueMapping(42), 5), uint8_t(2));
    QCOMPARE(int(blob.mapping(2).channelMask()), (1 << 2) | (1 << 5));
    QCOMPARE(int(blob.mapping(5).channelMask()), 0);
    QCOMPARE(ConfigBlob::mappingEntryIndex(blob, 5), uint8_t(2));
    QCOMPARE(blob.mapping(2).tau(), uint16_t(700));
}

void TestConfigBlob::movingChannelReusesMatchingOrFreeEntry()
{
    auto blob = sealedDefault();
    ConfigBlob::replaceMappingEntry(blob, catalogueMapping(42), 2);
    ConfigBlob::replaceMappingEntry(blob, catalogueMapping(42), 5);  // entry 5 now free
    // channel 2 moves to mapping 43: first free entry is 5
    QCOMPARE(ConfigBlob::replaceMappingEntry(blob, catalogueMapping(43, 900), 2), uint8_t(5));
    QCOMPARE(int(blob.mapping(2).channelMask()), 1 << 5);
    QCOMPARE(int(blob.mapping(5).channelMask()), 1 << 2);
    QCOMPARE(blob.mapping(5).id(), 43);
    QCOMPARE(blob.mapping(5).tau(), uint16_t(900));
    // the entry freed by a channel's own move qualifies as free
    QCOMPARE(ConfigBlob::replaceMappingEntry(blob, catalogueMapping(44), 0), uint8_t(0));
    QCOMPARE(blob.mapping(0).id(), 44);
    QCOMPARE(int(blob.mapping(0).channelMask()), 1);
    // moving channel 2 back onto 42 joins channel 5's entry
    QCOMPARE(ConfigBlob::replaceMappingEntry(blob, catalogueMapping(42), 2), uint8_t(2));
    QCOMPARE(int(blob.mapping(2).channelMask()), (1 << 2) | (1 << 5));
    QCOMPARE(int(blob.mapping(5).channelMask()), 0);
    QCOMPARE(blob.mapping(5).id(), 43);  // keeps its values until reused
}

void TestConfigBlob::customEntriesNeverShare()
{
    auto blob = sealedDefault();
    ConfigBlob::replaceSensorEntry(blob, catalogueSensor(7), 1);
    ConfigBlob::replaceSensorEntry(blob, catalogueSensor(7), 3);  // 3 freed, shares 1
    QCOMPARE(ConfigBlob::replaceSensorEntry(blob, catalogueSensor(0), 4), uint8_t(3));
    // a second custom entry takes the next free slot instead of joining
    QCOMPARE(ConfigBlob::replaceSensorEntry(blob, catalogueSensor(0), 6), uint8_t(4));
    QCOMPARE(int(blob.sensor(3).channelMask()), 1 << 4);
    QCOMPARE(int(blob.sensor(4).channelMask()), 1 << 6);
    // -1 (default) entries do not share either: channel 1 leaves the shared
    // entry 1 for the free entry 6
    QCOMPARE(ConfigBlob::replaceSensorEntry(blob, catalogueSensor(-1), 1), uint8_t(6));
    QCOMPARE(int(blob.sensor(1).channelMask()), 1 << 3);
    QCOMPARE(int(blob.sensor(6).channelMask()), 1 << 1);
    QCOMPARE(blob.sensor(6).id(), -1);
}

void TestConfigBlob::replacementReusesLastEntryWithSameId()
{
    // Two entries with id 9 (as a unit might send them): the last one wins.
    auto blob = sealedDefault();
    auto e1 = blob.mapping(1);
    e1.setId(9);
    blob.setMapping(1, e1);
    auto e4 = blob.mapping(4);
    e4.setId(9);
    blob.setMapping(4, e4);
    QCOMPARE(ConfigBlob::replaceMappingEntry(blob, catalogueMapping(9), 0), uint8_t(4));
    QCOMPARE(int(blob.mapping(4).channelMask()), (1 << 4) | 1);
}

void TestConfigBlob::fullListKeepsClearedBit()
{
    auto blob = sealedDefault();
    // Channel 3 is held by entry 3 and entry 0 also carries bit 3: no entry
    // becomes free and no id matches.
    auto e0 = blob.mapping(0);
    e0.setChannelMask(0x09);
    blob.setMapping(0, e0);
    QCOMPARE(ConfigBlob::replaceMappingEntry(blob, catalogueMapping(55), 3), kNoEntry);
    QCOMPARE(int(blob.mapping(0).channelMask()), 0x01);
    QCOMPARE(int(blob.mapping(3).channelMask()), 0x08);
    for (int i = 0; i < 7; ++i)
        QVERIFY(blob.mapping(i).id() != 55);
}

void TestConfigBlob::emptyListChangesNothing()
{
    auto blob = sealedDefault();
    blob.setHeadWords(0, 0, 84);
    const auto before = blob;
    QCOMPARE(ConfigBlob::replaceMappingEntry(blob, catalogueMapping(3), 0), kNoEntry);
    QCOMPARE(blob.toBytes(), before.toBytes());
    QCOMPARE(ConfigBlob::mappingEntryIndex(blob, 0), kNoEntry);
}

void TestConfigBlob::entryIndexHonoursListLength()
{
    auto blob = sealedDefault();
    blob.setHeadWords(0, 3 * 56 + 55, 0xFFFFFFFF);  // 3 mapping entries; huge sensor list
    QCOMPARE(ConfigBlob::mappingEntryIndex(blob, 2), uint8_t(2));
    QCOMPARE(ConfigBlob::mappingEntryIndex(blob, 3), kNoEntry);
    QCOMPARE(blob.sensorCount(), 7);  // never beyond the slots the blob has
    QCOMPARE(ConfigBlob::sensorEntryIndex(blob, 6), uint8_t(6));
}

void TestConfigBlob::invalidEntries_data()
{
    QTest::addColumn<int>("entry");  // mapping or sensor slot 0..6, +10 for sensor
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("value");  // little-endian bytes to write
    QTest::addColumn<bool>("valid");

    auto u16 = [](int v) { return QByteArray() + char(v & 0xFF) + char((v >> 8) & 0xFF); };
    auto u8 = [](int v) { return QByteArray(1, char(v)); };
    auto i32 = [](int v) {
        return QByteArray() + char(v & 0xFF) + char((v >> 8) & 0xFF) + char((v >> 16) & 0xFF) + char((v >> 24) & 0xFF);
    };

    QTest::newRow("tau 0") << 0 << 28 << u16(0) << false;
    QTest::newRow("tau 1") << 0 << 28 << u16(1) << true;
    QTest::newRow("tau 50000") << 0 << 28 << u16(50000) << true;
    QTest::newRow("tau 50001") << 0 << 28 << u16(50001) << false;
    QTest::newRow("segment 99") << 1 << 30 << u16(99) << false;
    QTest::newRow("segment 100") << 1 << 30 << u16(100) << true;
    QTest::newRow("segment 20000") << 1 << 30 << u16(20000) << true;
    QTest::newRow("segment 20001") << 1 << 30 << u16(20001) << false;
    QTest::newRow("selects 0x22") << 2 << 32 << u8(0x22) << true;
    QTest::newRow("statistic nibble 3") << 2 << 32 << u8(0x03) << false;
    QTest::newRow("skw nibble 3") << 2 << 32 << u8(0x30) << false;
    QTest::newRow("post-shift 127") << 3 << 33 << u8(127) << true;
    QTest::newRow("post-shift -1") << 3 << 33 << u8(0xFF) << false;
    QTest::newRow("scale factor 24") << 4 << 34 << u8(24) << false;
    QTest::newRow("scale factor 25") << 4 << 34 << u8(25) << true;
    QTest::newRow("scale factor 250") << 4 << 34 << u8(250) << true;
    QTest::newRow("scale factor 251") << 4 << 34 << u8(251) << false;
    QTest::newRow("mapping mask bit 7") << 5 << 35 << u8(0x80) << false;
    QTest::newRow("mapping id -2") << 6 << 0 << i32(-2) << false;
    QTest::newRow("mapping id 0") << 6 << 0 << i32(0) << true;
    QTest::newRow("sensor high 240") << 10 << 4 << u8(240) << true;
    QTest::newRow("sensor high 241") << 10 << 4 << u8(241) << false;
    QTest::newRow("sensor low 241") << 13 << 5 << u8(241) << false;
    QTest::newRow("sensor mask bit 7") << 14 << 6 << u8(0x81) << false;
    QTest::newRow("sensor id -2") << 16 << 0 << i32(-2) << false;
    QTest::newRow("sensor id big") << 16 << 0 << i32(0x7FFFFFFF) << true;
}

void TestConfigBlob::invalidEntries()
{
    QFETCH(int, entry);
    QFETCH(int, offset);
    QFETCH(QByteArray, value);
    QFETCH(bool, valid);

    auto blob = sealedDefault();
    const bool sensor = entry >= 10;
    const int base = sensor ? 404 + 12 * (entry - 10) : 12 + 56 * entry;
    memcpy(blob.data() + base + offset, value.constData(), size_t(value.size()));
    blob.setCrc(blob.computeCrc());

    QStringList messages;
    QCOMPARE(ConfigBlob::checkBlob(blob, &messages), !valid);
    if (valid) {
        QVERIFY(messages.isEmpty());
    } else {
        QCOMPARE(messages,
                 QStringList{sensor ? QStringLiteral("Detected invalid Sensor Config! Config ignored.")
                                    : QStringLiteral("Detected invalid Channel Config! Config ignored.")});
    }
}

void TestConfigBlob::checkReportsEveryInvalidEntry()
{
    auto blob = sealedDefault();
    for (int i : {0, 4}) {
        auto m = blob.mapping(i);
        m.setTau(0);
        blob.setMapping(i, m);
    }
    auto s = blob.sensor(6);
    s.setIepeLowVoltage(255);
    blob.setSensor(6, s);
    blob.setCrc(blob.computeCrc());
    QStringList messages;
    QVERIFY(ConfigBlob::checkBlob(blob, &messages));
    QCOMPARE(messages.size(), 3);
    QCOMPARE(messages.count(QStringLiteral("Detected invalid Channel Config! Config ignored.")), 2);
}

QTEST_GUILESS_MAIN(TestConfigBlob)
#include "tst_configblob.moc"
