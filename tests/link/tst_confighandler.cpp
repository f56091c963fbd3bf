#include "configblob.h"
#include "confighandler.h"
#include "filterkoeff.h"

#include <QtTest>

namespace {

// Records everything the model announces, in order.
struct Recorder
{
    QStringList events;
    QStringList errors;
    QVector<CFG_Blob_struct_sorted> blobs;

    explicit Recorder(Confighandler &c)
    {
        QObject::connect(&c, &Confighandler::printNotifyBarErrorwrapper,
                         [this](const QString &m, bool reset, bool goToLog) {
                             QVERIFY(!reset && !goToLog);
                             errors << m;
                             events << QStringLiteral("error");
                         });
        QObject::connect(&c, &Confighandler::ConfigBlobchanged, [this](const CFG_Blob_struct_sorted &b) {
            blobs << b;
            events << QStringLiteral("blob");
        });
        QObject::connect(&c, &Confighandler::ConfigConnectivitychanged,
                         [this](const CFG_ConnectionParameters_struct &) { events << QStringLiteral("conn"); });
        QObject::connect(&c, &Confighandler::ConfigDevicechanged,
                         [this](const CFG_Device_Param_struct &) { events << QStringLiteral("device"); });
        QObject::connect(&c, &Confighandler::AnybusCFGchanged,
                         [this](const Anybus_cfg &) { events << QStringLiteral("anybus"); });
        QObject::connect(&c, &Confighandler::Devicenamechanged,
                         [this](const QString &n) { events << QStringLiteral("devname:") + n; });
        QObject::connect(&c, &Confighandler::Channelnamechanged, [this](const QString &n, uint8_t i) {
            events << QStringLiteral("chname:%1:%2").arg(i).arg(n);
        });
    }
    void clear()
    {
        events.clear();
        errors.clear();
        blobs.clear();
    }
};

CFG_ChannelMapping_struct mappingWithId(int32_t id)
{
    auto m = ConfigBlob::defaultMappingEntry();
    m.setId(id);
    return m;
}

CFG_Sensor_struct sensorWithId(int32_t id)
{
    auto s = ConfigBlob::defaultSensorEntry();
    s.setId(id);
    return s;
}

// Gives channel ch catalogue entries so that it no longer counts as default.
void configureChannel(Confighandler &c, uint8_t ch)
{
    QCOMPARE(c.setChannelConfig(mappingWithId(100 + ch), ch, false), ERR_OK);
    QCOMPARE(c.setSensorConfig(sensorWithId(200 + ch), ch, false), ERR_OK);
}

const QString kInvalidDevice = QStringLiteral("Detected invalid Device Config! Config ignored.");
const QString kInvalidCommon = QStringLiteral("Detected invalid Device Common Config! Config ignored.");
const QString kInvalidChannel = QStringLiteral("Detected invalid Device Channel Config! Config ignored.");

} // namespace

class TestConfighandler : public QObject
{
    Q_OBJECT
private slots:
    void defaults();
    void deviceConfigSetter_data();
    void deviceConfigSetter();
    void missingReferenceWarningOnce();
    void nameSetters_data();
    void nameSetters();
    void channelNameOutOfRange();
    void entrySetters();
    void invalidEntryLeavesBlobUnchanged_data();
    void invalidEntryLeavesBlobUnchanged();
    void unheldChannelGivesDefaultEntry();
    void channelFilter();
    void channelQueries();
    void validateForSave();
    void emitConfigChangedOrder();
    void elideText_data();
    void elideText();
    void scrambleBuffers();
    void anybusStoredAsIs();
};

void TestConfighandler::defaults()
{
    Confighandler c;
    QCOMPARE(c.configFileVersion(), 2u);
    QCOMPARE(c.configFileExtension(), QStringLiteral("cfg"));
    QVERIFY(!c.waitingForFeedback());
    QVERIFY(!c.warnMissingReferences());
    QCOMPARE(c.getIpAddress(), QHostAddress(QStringLiteral("192.168.0.100")));
    QCOMPARE(c.getSubnetMask(), QHostAddress(QStringLiteral("255.255.255.0")));
    QCOMPARE(c.deviceName(), QStringLiteral("Korvantis"));
    for (int ch = 0; ch < 7; ++ch)
        QCOMPARE(c.channelName(ch), QStringLiteral("Channel %1").arg(ch + 1));

    const auto d = c.getDeviceConfig();
    QCOMPARE(d.debounceTime(), uint16_t(1));
    QCOMPARE(d.outputSelect(), uint8_t(2));
    QCOMPARE(d.outputInversion(), uint8_t(1));
    QCOMPARE(d.channelEnableMask(), uint8_t(0x7F));
    for (int ch = 0; ch < 7; ++ch) {
        QCOMPARE(d.scale(ch), uint16_t(7200));
        QCOMPARE(d.threshold(ch), uint16_t(20));
        QCOMPARE(d.referenceSkw(ch), int16_t(-1));
        QCOMPARE(le::u16(d.data() + 8 + 8 * ch + 6), uint16_t(0));
        QCOMPARE(c.channelEntryIndex(uint8_t(ch)), uint8_t(ch));
        QCOMPARE(c.sensorEntryIndex(uint8_t(ch)), uint8_t(ch));
    }
    const auto blob = c.getConfigBlob();
    QVERIFY(!ConfigBlob::checkBlob(blob));
    QCOMPARE(blob.referenceMac(), 0ull);
    QCOMPARE(c.getAnybusCFG().toBytes(), QByteArray(567, 0));
    // the connection record keeps the first dotted part first
    DeviceNameRecord rec;
    QCOMPARE(c.channelNameRecord(6, rec), ERR_OK);
    QCOMPARE(rec.text(), QStringLiteral("Channel 7"));
}

// field: 0 debounce, 1 output select, 2 inversion, 3 enable mask,
// 4 scale of channel 3, 5 threshold of channel 6
void TestConfighandler::deviceConfigSetter_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("messages");

    const QStringList ok;
    const QStringList common{kInvalidCommon, kInvalidDevice};
    const QStringList channel{kInvalidChannel, kInvalidDevice};

    QTest::newRow("debounce 0") << 0 << 0 << ok;
    QTest::newRow("debounce 100") << 0 << 100 << ok;
    QTest::newRow("debounce 101") << 0 << 101 << common;
    QTest::newRow("output select 0") << 1 << 0 << ok;
    QTest::newRow("output select 3") << 1 << 3 << common;
    QTest::newRow("inversion 0") << 2 << 0 << ok;
    QTest::newRow("inversion 2") << 2 << 2 << common;
    QTest::newRow("enable mask 0") << 3 << 0x00 << ok;
    QTest::newRow("enable mask 0x80") << 3 << 0x80 << common;
    QTest::newRow("enable mask 0xFF") << 3 << 0xFF << common;
    QTest::newRow("scale 4800") << 4 << 4800 << ok;
    QTest::newRow("scale 14000") << 4 << 14000 << ok;
    QTest::newRow("scale 4799") << 4 << 4799 << channel;
    QTest::newRow("scale 14001") << 4 << 14001 << channel;
    QTest::newRow("threshold 20") << 5 << 20 << ok;
    QTest::newRow("threshold 2000") << 5 << 2000 << ok;
    QTest::newRow("threshold 19") << 5 << 19 << channel;
    QTest::newRow("threshold 2001") << 5 << 2001 << channel;
}

void TestConfighandler::deviceConfigSetter()
{
    QFETCH(int, field);
    QFETCH(int, value);
    QFETCH(QStringList, messages);

    Confighandler c;
    Recorder rec(c);
    const auto before = c.getDeviceConfig();
    auto block = before;
    block.setReferenceSkw(2, 17);  // something else changes too
    switch (field) {
    case 0: block.setDebounceTime(uint16_t(value)); break;
    case 1: block.setOutputSelect(uint8_t(value)); break;
    case 2: block.setOutputInversion(uint8_t(value)); break;
    case 3: block.setChannelEnableMask(uint8_t(value)); break;
    case 4: block.setScale(3, uint16_t(value)); break;
    case 5: block.setThreshold(6, uint16_t(value)); break;
    }

    const errorCode_e result = c.setDeviceConfig(block);
    QCOMPARE(rec.errors, messages);
    if (messages.isEmpty()) {
        QCOMPARE(result, ERR_OK);
        QVERIFY(c.getDeviceConfig() == block);
        QCOMPARE(rec.events.last(), QStringLiteral("device"));
    } else {
        QCOMPARE(result, ERR_INVALID_CONFIG);
        QVERIFY(c.getDeviceConfig() == before);
        QVERIFY(!rec.events.contains(QStringLiteral("device")));
    }
}

void TestConfighandler::missingReferenceWarningOnce()
{
    Confighandler c;
    Recorder rec(c);
    auto block = c.getDeviceConfig();
    block.setChannelEnableMask(0x15);  // channels 0, 2, 4
    block.setReferenceSkw(0, 0);       // channel 0 has a reference
    QCOMPARE(c.setChannelname(QStringLiteral("Gear ä"), 4), ERR_OK);
    rec.clear();

    // without the flag nothing is said
    QCOMPARE(c.setDeviceConfig(block), ERR_OK);
    QVERIFY(rec.errors.isEmpty());

    // after a read or load: once, also for a block refused for other reasons
    c.setWarnMissingReferences(true);
    auto bad = block;
    bad.setDebounceTime(500);
    QCOMPARE(c.setDeviceConfig(bad), ERR_INVALID_CONFIG);
    QCOMPARE(rec.errors,
             QStringList({kInvalidCommon,
                          QStringLiteral("There were no valid Reference values found for the following channels: "
                                         "Channel 3 | Gear ä"),
                          kInvalidDevice}));
    QVERIFY(!c.warnMissingReferences());
    rec.clear();
    QCOMPARE(c.setDeviceConfig(block), ERR_OK);
    QVERIFY(rec.errors.isEmpty());
}

void TestConfighandler::nameSetters_data()
{
    QTest::addColumn<int>("channel");  // -1: device name
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("result");

    const QString a250(250, QLatin1Char('a'));
    const QString a251(251, QLatin1Char('a'));
    const QString umlaut125(125, QChar(0x00E4));  // 250 bytes
    const QString umlaut126(126, QChar(0x00E4));  // 252 bytes, 126 characters

    QTest::newRow("device plain") << -1 << QStringLiteral("PPU Hall 3") << 0;
    QTest::newRow("device empty") << -1 << QString() << 0;
    QTest::newRow("device quote and semicolon") << -1 << QStringLiteral("a\"b;c") << 0;
    QTest::newRow("device 250 bytes") << -1 << a250 << 0;
    QTest::newRow("device 251 bytes") << -1 << a251 << int(ERR_INVALID_PARAM);
    QTest::newRow("device 256 bytes") << -1 << QString(256, QLatin1Char('a')) << int(ERR_INVALID_PARAM);
    QTest::newRow("device 125 umlauts") << -1 << umlaut125 << 0;
    QTest::newRow("device 126 umlauts") << -1 << umlaut126 << int(ERR_INVALID_PARAM);
    QTest::newRow("channel plain") << 3 << QStringLiteral("Spindel 2") << 0;
    QTest::newRow("channel 250 bytes") << 6 << a250 << 0;
    QTest::newRow("channel 251 bytes") << 0 << a251 << int(ERR_DATA_SIZE);
    QTest::newRow("channel 126 umlauts") << 1 << umlaut126 << int(ERR_DATA_SIZE);
    QTest::newRow("channel quote") << 2 << QStringLiteral("a\"b") << int(ERR_NOT_SUPPORTED);
    QTest::newRow("channel semicolon") << 2 << QStringLiteral("a;b") << int(ERR_NOT_SUPPORTED);
    QTest::newRow("channel 7") << 7 << QStringLiteral("x") << int(ERR_INVALID_PARAM);
    QTest::newRow("channel 7 bad name") << 7 << QStringLiteral("x;") << int(ERR_INVALID_PARAM);
}

void TestConfighandler::nameSetters()
{
    QFETCH(int, channel);
    QFETCH(QString, name);
    QFETCH(int, result);

    Confighandler c;
    Recorder rec(c);
    QStringList namesBefore{c.deviceName()};
    for (int ch = 0; ch < 7; ++ch)
        namesBefore << c.channelName(ch);

    const errorCode_e r = channel < 0 ? c.setDevicename(name) : c.setChannelname(name, uint8_t(channel));
    QCOMPARE(int(r), result);
    QVERIFY(rec.errors.isEmpty());
    // The reason the pages show names exactly the names the setters refuse.
    if (channel <= 6) {
        const QString problem =
            channel < 0 ? Confighandler::deviceNameProblem(name) : Confighandler::channelNameProblem(name);
        QCOMPARE(problem.isEmpty(), result == 0);
    }
    QStringList namesAfter{c.deviceName()};
    for (int ch = 0; ch < 7; ++ch)
        namesAfter << c.channelName(ch);

    if (result == 0) {
        QStringList expected = namesBefore;
        expected[channel + 1] = name;
        QCOMPARE(namesAfter, expected);
        QCOMPARE(rec.events, QStringList{channel < 0 ? QStringLiteral("devname:") + name
                                                     : QStringLiteral("chname:%1:%2").arg(channel).arg(name)});
        const DeviceNameRecord record = channel < 0 ? c.deviceNameRecord() : [&] {
            DeviceNameRecord r2;
            c.channelNameRecord(uint8_t(channel), r2);
            return r2;
        }();
        QCOMPARE(int(record.data()[250]), name.toUtf8().size());
        QCOMPARE(Confighandler::nameRecordToString(record), name);
    } else {
        QCOMPARE(namesAfter, namesBefore);
        QVERIFY(rec.events.isEmpty());
    }
}

void TestConfighandler::channelNameOutOfRange()
{
    Confighandler c;
    QCOMPARE(c.channelName(7), QString());
    QCOMPARE(c.channelName(-1), QString());
    DeviceNameRecord r(QStringLiteral("keep"));
    QCOMPARE(c.channelNameRecord(7, r), ERR_INVALID_PARAM);
    QCOMPARE(r.text(), QStringLiteral("keep"));
}

void TestConfighandler::entrySetters()
{
    Confighandler c;
    Recorder rec(c);

    auto m = mappingWithId(42);
    m.setTau(1234);
    QCOMPARE(c.setChannelConfig(m, 1, false), ERR_OK);
    QCOMPARE(c.setChannelConfig(m, 4, false), ERR_OK);
    QCOMPARE(c.channelEntryIndex(4), uint8_t(1));
    CFG_ChannelMapping_struct got;
    QCOMPARE(c.channelEntry(4, got), ERR_OK);
    QCOMPARE(got.id(), 42);
    QCOMPARE(got.tau(), uint16_t(1234));
    QCOMPARE(int(got.channelMask()), 0x12);

    // custom: id forced to 0, entry of its own
    QCOMPARE(c.setChannelConfig(mappingWithId(42), 4, true), ERR_OK);
    QCOMPARE(c.channelEntry(4, got), ERR_OK);
    QCOMPARE(got.id(), 0);
    QCOMPARE(int(got.channelMask()), 0x10);

    QCOMPARE(c.setSensorConfig(sensorWithId(8), 2, true), ERR_OK);
    CFG_Sensor_struct s;
    QCOMPARE(c.channelParams(2, s), ERR_OK);
    QCOMPARE(s.id(), 0);

    // a channel that does not exist changes nothing
    const auto before = c.getConfigBlob();
    QCOMPARE(c.setChannelConfig(mappingWithId(5), 7, false), ERR_INVALID_PARAM);
    QCOMPARE(c.setSensorConfig(sensorWithId(5), 9, true), ERR_INVALID_PARAM);
    QVERIFY(c.getConfigBlob() == before);

    // every accepted change is sealed, stored and announced once
    QCOMPARE(rec.blobs.size(), 4);
    QVERIFY(rec.blobs.last() == c.getConfigBlob());
    QVERIFY(!ConfigBlob::checkBlob(c.getConfigBlob()));
    QVERIFY(rec.errors.isEmpty());
}

void TestConfighandler::invalidEntryLeavesBlobUnchanged_data()
{
    QTest::addColumn<bool>("sensor");
    QTest::addColumn<QString>("message");
    QTest::newRow("mapping") << false << QStringLiteral("Detected invalid Channel Config! Config ignored.");
    QTest::newRow("sensor") << true << QStringLiteral("Detected invalid Sensor Config! Config ignored.");
}

void TestConfighandler::invalidEntryLeavesBlobUnchanged()
{
    QFETCH(bool, sensor);
    QFETCH(QString, message);
    Confighandler c;
    Recorder rec(c);
    const auto before = c.getConfigBlob();
    errorCode_e r;
    if (sensor) {
        auto s = sensorWithId(5);
        s.setIepeLowVoltage(241);
        r = c.setSensorConfig(s, 3, false);
    } else {
        auto m = mappingWithId(5);
        m.setSegmentTime(99);
        r = c.setChannelConfig(m, 3, false);
    }
    QCOMPARE(r, ERR_INVALID_CONFIG);
    QCOMPARE(rec.errors, QStringList{message});
    QVERIFY(rec.blobs.isEmpty());
    QCOMPARE(c.getConfigBlob().toBytes(), before.toBytes());
}

void TestConfighandler::unheldChannelGivesDefaultEntry()
{
    Confighandler c;
    auto blob = c.getConfigBlob();
    auto m = blob.mapping(3);
    m.setChannelMask(0);
    m.setId(77);
    blob.setMapping(3, m);
    auto s = blob.sensor(3);
    s.setChannelMask(0);
    blob.setSensor(3, s);
    QCOMPARE(c.sealBlob(blob), ERR_OK);

    QCOMPARE(c.channelEntryIndex(3), kNoEntry);
    CFG_ChannelMapping_struct got = mappingWithId(9);
    QCOMPARE(c.channelEntry(3, got), ERR_INVALID_PARAM);
    QVERIFY(got == ConfigBlob::defaultMappingEntry());
    CFG_Sensor_struct gotS;
    QCOMPARE(c.channelParams(3, gotS), ERR_INVALID_PARAM);
    QVERIFY(gotS == ConfigBlob::defaultSensorEntry());
    QCOMPARE(c.channelEntry(7, got), ERR_INVALID_PARAM);

    // sealing renews the CRC: a blob whose content changed after its CRC
    // was computed is taken when its entries are valid
    auto stale = c.getConfigBlob();
    le::put16(stale.data() + 12 + 56 + 28, 267);  // tau of entry 1
    QVERIFY(ConfigBlob::checkBlob(stale));
    QCOMPARE(c.sealBlob(stale), ERR_OK);
    QCOMPARE(c.getConfigBlob().mapping(1).tau(), uint16_t(267));
    QVERIFY(!ConfigBlob::checkBlob(c.getConfigBlob()));
}

void TestConfighandler::channelFilter()
{
    Confighandler c;
    FilterKoeff f;
    f.setPostShift(5);
    QCOMPARE(c.getChannelFilter(f, 0), ERR_OK);
    QVector<qint16> q;
    f.toQ15Vector(q);
    QCOMPARE(q, (QVector<qint16>{1105, 0, -2210, 1105, 2374, -10155, 16384, 0, 32767, 16384, 14358, -10913}));
    QCOMPARE(int(f.postShift()), 1);

    auto m = mappingWithId(3);
    for (int i = 0; i < 12; ++i)
        m.setCoefficient(i, int16_t(i * 1000 - 6000));
    m.setPostShift(3);
    QCOMPARE(c.setChannelConfig(m, 5, false), ERR_OK);
    QCOMPARE(c.getChannelFilter(f, 5), ERR_OK);
    f.toQ15Vector(q);
    QCOMPARE(q.at(0), qint16(-6000));
    QCOMPARE(q.at(11), qint16(5000));
    QCOMPARE(int(f.postShift()), 3);

    FilterKoeff untouched;
    untouched.setPostShift(9);
    QCOMPARE(c.getChannelFilter(untouched, 7), ERR_INVALID_PARAM);
    QCOMPARE(int(untouched.postShift()), 9);
}

void TestConfighandler::channelQueries()
{
    Confighandler c;
    auto block = c.getDeviceConfig();
    block.setChannelEnableMask(0x06);  // channels 1 and 2
    block.setReferenceSkw(1, 0);
    QCOMPARE(c.setDeviceConfig(block), ERR_OK);

    QVERIFY(!c.channelEnabled(0));
    QVERIFY(c.channelEnabled(1));
    QVERIFY(!c.channelEnabled(7));
    QVERIFY(!c.allChannelsEnabled());
    QVERIFY(c.channelHasReference(0));  // disabled counts as fine
    QVERIFY(c.channelHasReference(1));
    QVERIFY(!c.channelHasReference(2));
    QVERIFY(!c.channelHasReference(7));
    QVERIFY(!c.allChannelsHaveReference());
    QVERIFY(!c.allChannelsMappingConfigured());
    QVERIFY(!c.allChannelsSensorConfigured());

    configureChannel(c, 1);
    QVERIFY(c.channelMappingConfigured(1));
    QVERIFY(c.channelSensorConfigured(1));
    QVERIFY(!c.allChannelsMappingConfigured());
    QCOMPARE(c.setChannelConfig(mappingWithId(0), 2, false), ERR_OK);  // custom: id 0 is not 1 or more
    QVERIFY(!c.channelMappingConfigured(2));
    QCOMPARE(c.setChannelConfig(mappingWithId(1), 2, false), ERR_OK);
    QVERIFY(c.allChannelsMappingConfigured());
    QVERIFY(!c.allChannelsSensorConfigured());
    QVERIFY(!c.channelSensorConfigured(7));

    block.setReferenceSkw(2, 3);
    QCOMPARE(c.setDeviceConfig(block), ERR_OK);
    QVERIFY(c.allChannelsHaveReference());
}

void TestConfighandler::validateForSave()
{
    Confighandler c;
    Recorder rec(c);
    QCOMPARE(c.setChannelname(QStringLiteral("Nord"), 0), ERR_OK);
    auto block = c.getDeviceConfig();
    block.setChannelEnableMask(0x0B);  // 0, 1, 3
    QCOMPARE(c.setDeviceConfig(block), ERR_OK);
    configureChannel(c, 1);
    QCOMPARE(c.setSensorConfig(sensorWithId(9), 3, false), ERR_OK);  // mapping still default
    rec.clear();

    QVERIFY(!c.validateForSave());
    QCOMPARE(rec.errors, QStringList{QStringLiteral("Found active Channel with default config! Deactivate the "
                                                    "Channels or configure them. Nord | Channel 4")});
    rec.clear();

    // a custom entry (id 0) is configured for saving
    QCOMPARE(c.setChannelConfig(mappingWithId(0), 0, true), ERR_OK);
    QCOMPARE(c.setSensorConfig(sensorWithId(0), 0, true), ERR_OK);
    QCOMPARE(c.setChannelConfig(mappingWithId(9), 3, false), ERR_OK);
    rec.clear();
    QVERIFY(c.validateForSave());
    QVERIFY(rec.errors.isEmpty());
}

void TestConfighandler::emitConfigChangedOrder()
{
    Confighandler c;
    Recorder rec(c);
    const auto blob = c.getConfigBlob();
    c.emitConfigChanged();
    QStringList expected{QStringLiteral("blob"), QStringLiteral("conn"), QStringLiteral("device"),
                         QStringLiteral("devname:Korvantis")};
    for (int ch = 0; ch < 7; ++ch)
        expected << QStringLiteral("chname:%1:Channel %2").arg(ch).arg(ch + 1);
    QCOMPARE(rec.events, expected);
    QVERIFY(c.getConfigBlob() == blob);
}

void TestConfighandler::elideText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("expected");
    QTest::newRow("12 of 16") << QStringLiteral("abcdefghijkl") << 16 << QStringLiteral("abcdefghijkl");
    QTest::newRow("13 of 16") << QStringLiteral("abcdefghijklm") << 16 << QStringLiteral("abcdefghijkl ...");
    QTest::newRow("16 of 16") << QStringLiteral("abcdefghijklmnop") << 16 << QStringLiteral("abcdefghijkl ...");
    QTest::newRow("empty") << QString() << 16 << QString();
    QTest::newRow("32") << QString(40, QLatin1Char('x')) << 32 << QString(28, QLatin1Char('x')) + " ...";
    QTest::newRow("maximum below suffix") << QStringLiteral("abcdef") << 3 << QStringLiteral("abc");
    QTest::newRow("maximum 0") << QStringLiteral("abcdef") << 0 << QString();
}

void TestConfighandler::elideText()
{
    QFETCH(QString, text);
    QFETCH(int, maximum);
    QFETCH(QString, expected);
    const QString r = Confighandler::elideText(text, maximum);
    QCOMPARE(r, expected);
    QVERIFY(r.size() <= qMax(maximum, 0));
}

void TestConfighandler::scrambleBuffers()
{
    Confighandler c;
    const auto blob = c.getConfigBlob();
    const uint8_t *first = Confighandler::scrambleBlob(blob);
    const QByteArray firstCopy(reinterpret_cast<const char *>(first), 512);
    QVERIFY(firstCopy != blob.toBytes());

    CFG_Blob_struct_sorted zero;
    const uint8_t *second = Confighandler::scrambleBlob(zero);
    QCOMPARE(second, first);  // one buffer, overwritten by the next call
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(first), 512), QByteArray(512, char(0x63)));

    const CFG_Blob_struct_sorted *plain =
        Confighandler::unscrambleBlob(reinterpret_cast<const uint8_t *>(firstCopy.constData()));
    QVERIFY(*plain == blob);
    QVERIFY(!ConfigBlob::checkBlob(*plain));
    QVERIFY(c.getConfigBlob() == blob);  // the caller's blob is left alone
}

void TestConfighandler::anybusStoredAsIs()
{
    Confighandler c;
    Recorder rec(c);
    Anybus_cfg cfg;
    for (int i = 0; i < Anybus_cfg::kSize; ++i)
        cfg.data()[i] = uint8_t(i * 13);
    QCOMPARE(c.setAnybusCFG(cfg), ERR_OK);
    QCOMPARE(rec.events, QStringList{QStringLiteral("anybus")});
    QCOMPARE(c.getAnybusCFG().toBytes(), cfg.toBytes());
    QCOMPARE(int(cfg.dhcp()), (0x236 * 13) & 0xFF);
}

QTEST_GUILESS_MAIN(TestConfighandler)
#include "tst_confighandler.moc"
