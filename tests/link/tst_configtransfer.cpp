// Reading and writing the configuration on the simulated unit.
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "requestlog.h"
#include "configblob.h"
#include "configfixture.h"
#include "byteorder.h"
#include "testnet.h"
#include "unitsimfixture.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.1.151"));

QByteArray u16(uint16_t v)
{
    QByteArray b(2, '\0');
    le::put16(reinterpret_cast<uint8_t *>(b.data()), v);
    return b;
}

// The requests of the log other than heartbeats, as "cmd param index", each
// once however often it was sent.
QStringList requestLines(const UnitSim &sim)
{
    QStringList out;
    for (const auto &r : withoutResends(sim.requestLog())) {
        if (r.command == 0x71)
            continue;
        QString line = QStringLiteral("%1 %2").arg(r.command, 2, 16, QLatin1Char('0')).arg(r.paramId, 4, 16, QLatin1Char('0'));
        if (r.command == 0xED)
            line = QStringLiteral("ed %1").arg(QString::fromLatin1(r.payload.left(2).toHex()));
        else if (r.index >= 0)
            line += QStringLiteral(" %1").arg(r.index);
        out << line;
    }
    return out;
}

QString line(uint8_t command, int param, int index = -1)
{
    QString l = QStringLiteral("%1 %2").arg(command, 2, 16, QLatin1Char('0')).arg(param, 4, 16, QLatin1Char('0'));
    if (index >= 0)
        l += QStringLiteral(" %1").arg(index);
    return l;
}

QStringList wholeReadLines()
{
    QStringList l{line(0xE1, 0x2000)};
    for (int ch = 0; ch < 7; ++ch)
        l << line(0xE1, 0x2001, ch);
    l << line(0xE1, 0x0010) << line(0xE1, 0x0020) << line(0xE1, 0x0021) << line(0xE1, 0x0023) << line(0xE1, 0x0022);
    for (int ch = 0; ch < 7; ++ch)
        l << line(0xE1, 0x40 + ch) << line(0xE1, 0x30 + ch) << line(0xE1, 0x50 + ch);
    return l;
}

CFG_Blob_struct_sorted unscrambled(const QByteArray &scrambled)
{
    CFG_Blob_struct_sorted b;
    b.assignRaw(Confighandler::unscrambleBlob(reinterpret_cast<const uint8_t *>(scrambled.constData()))->data());
    return b;
}

QByteArray scrambled(const CFG_Blob_struct_sorted &blob)
{
    return QByteArray(reinterpret_cast<const char *>(Confighandler::scrambleBlob(blob)), 512);
}

QString macText(const QByteArray &mac)
{
    return QString::fromLatin1(mac.left(6).toHex(':').toUpper());
}

} // namespace

class TestConfigTransfer : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void wholeReadInOrder();
    void changeWriteReadBack();
    void readBackWithStaleAnswers();
    void errorAnswerStopsWrite_data();
    void errorAnswerStopsWrite();
    void defaultChannelsSendNothing();
    void macConflict_data();
    void macConflict();
    void referenceConflict_data();
    void referenceConflict();
    void invalidEntryInUnitBlob();
    void failedNameReadKeepsName();
    void unreadNamesStayOnTheUnit();
    void unreadDeviceNameStaysOnTheUnit();
    void fieldbusBlock();
    void networkSettings();
    void networkSettingsFailures_data();
    void networkSettingsFailures();
    void fileOverwritesNetworkOnUnit();

private:
    UnitSim *sim() { return m_link.sim.get(); }
    Confighandler *config() { return m_link.device->confighandler(); }
    // Gives the unit valid scales and reference values on every channel
    // but `noReference`.
    void primeUnit(int noReference = -1);
    // Reads the unit's configuration into the model and configures it.
    void readAndConfigure();

    SimLink m_link;
    std::unique_ptr<MessageLog> m_log;
};

void TestConfigTransfer::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(m_link.start(kUnit, 2, SimLink::fastTimings()));
    m_link.connectToUnit();
    m_log = std::make_unique<MessageLog>(*config());
    primeUnit();
    sim()->clearRequestLog();
}

void TestConfigTransfer::cleanup()
{
    m_log.reset();
    m_link.device.reset();
    m_link.sim.reset();
}

void TestConfigTransfer::primeUnit(int noReference)
{
    auto &p = sim()->parameters();
    for (uint16_t ch = 0; ch < 7; ++ch) {
        p.setValue(uint16_t(0x40 + ch), u16(uint16_t(8000 + ch)));
        p.setValue(uint16_t(0x30 + ch), u16(uint16_t(250 + ch)));
        p.setValue(uint16_t(0x50 + ch), u16(ch == noReference ? 0xFFFF : uint16_t(400 + ch)));
    }
}

void TestConfigTransfer::readAndConfigure()
{
    config()->rereadConfigFromDevice();
    configureAllChannels(*config());
    m_log->clear();
    sim()->clearRequestLog();
}

void TestConfigTransfer::wholeReadInOrder()
{
    primeUnit(5);
    config()->rereadConfigFromDevice();
    QCOMPARE(requestLines(*sim()), wholeReadLines());
    QCOMPARE(wholeReadLines().size(), 34);

    auto &p = sim()->parameters();
    QCOMPARE(config()->deviceNameRecord().toBytes(), p.value(0x2000));
    for (uint8_t ch = 0; ch < 7; ++ch) {
        DeviceNameRecord r;
        config()->channelNameRecord(ch, r);
        QCOMPARE(r.toBytes(), p.value(0x2001, ch));
    }
    const auto d = config()->getDeviceConfig();
    QCOMPARE(d.outputSelect(), uint8_t(p.value(0x20).at(0)));
    QCOMPARE(d.outputInversion(), uint8_t(p.value(0x21).at(0)));
    QCOMPARE(d.channelEnableMask(), uint8_t(p.value(0x23).at(0)));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(d.data()), 2), p.value(0x22));
    for (int ch = 0; ch < 7; ++ch) {
        QCOMPARE(d.scale(ch), uint16_t(8000 + ch));
        QCOMPARE(d.threshold(ch), uint16_t(250 + ch));
        QCOMPARE(d.referenceSkw(ch), int16_t(ch == 5 ? -1 : 400 + ch));
    }
    // The unit's blob, its own MAC address included, is now the model's
    // (sealed anew).
    const auto unitBlob = unscrambled(p.value(0x10));
    QVERIFY(!ConfigBlob::checkBlob(unitBlob));
    QCOMPARE(blobContent(config()->getConfigBlob()), blobContent(unitBlob));
    QCOMPARE(config()->getConfigBlob().toBytes().mid(488, 8), p.value(0x1002));
    // Channel 5 is enabled without a reference: said once, during the read.
    QCOMPARE(m_log->errors, QStringList{QStringLiteral(
                                "There were no valid Reference values found for the following channels: Channel 6")});
}

void TestConfigTransfer::changeWriteReadBack()
{
    primeUnit(3);
    readAndConfigure();
    const ConfigSnapshot written = ConfigSnapshot::of(*config());

    QCOMPARE(config()->writeConfigToDevice(), ERR_OK);
    QVERIFY(m_log->errors.isEmpty());
    QVERIFY(m_log->questions.isEmpty());  // the blob carries this unit's MAC address
    QStringList expected{line(0xE1, 0x1002), line(0xEF, 0x0010), line(0xEF, 0x0020), line(0xEF, 0x0021),
                         line(0xEF, 0x0023), line(0xEF, 0x0022)};
    for (int ch = 0; ch < 7; ++ch) {
        expected << line(0xE1, 0x50 + ch);
        if (ch != 3)  // the unit holds no reference there
            expected << line(0xEF, 0x40 + ch) << line(0xEF, 0x30 + ch);
    }
    expected << line(0xEF, 0x2000);
    for (int ch = 0; ch < 7; ++ch)
        expected << line(0xEF, 0x2001, ch);
    expected << QStringLiteral("ed 1200");
    QCOMPARE(requestLines(*sim()), expected);
    QVERIFY(config()->waitingForFeedback());

    // The unit's store holds what the model holds.
    auto &p = sim()->parameters();
    QCOMPARE(p.value(0x2000), written.deviceName.toBytes());
    for (int ch = 0; ch < 7; ++ch)
        QCOMPARE(p.value(0x2001, ch), written.channelNames[size_t(ch)].toBytes());
    QVERIFY(unscrambled(p.value(0x10)) == written.blob);
    QCOMPARE(p.value(0x20), QByteArray(1, char(written.device.outputSelect())));
    QCOMPARE(p.value(0x21), QByteArray(1, char(written.device.outputInversion())));
    QCOMPARE(p.value(0x22), u16(written.device.debounceTime()));
    QCOMPARE(p.value(0x23), QByteArray(1, char(written.device.channelEnableMask())));
    for (int ch = 0; ch < 7; ++ch) {
        QCOMPARE(p.value(uint16_t(0x40 + ch)), u16(ch == 3 ? 8003 : written.device.scale(ch)));
        QCOMPARE(p.value(uint16_t(0x30 + ch)), u16(ch == 3 ? 253 : written.device.threshold(ch)));
    }

    // Read back into a model that starts from the defaults.
    config()->setDefaultConfig();
    config()->rereadConfigFromDevice();
    const ConfigSnapshot back = ConfigSnapshot::of(*config());
    QCOMPARE(back.deviceName, written.deviceName);
    QVERIFY(back.channelNames == written.channelNames);
    QCOMPARE(blobContent(back.blob), blobContent(written.blob));
    auto expectedDevice = written.device;
    expectedDevice.setScale(3, 8003);
    expectedDevice.setThreshold(3, 253);
    for (int ch = 0; ch < 7; ++ch)
        expectedDevice.setReferenceSkw(ch, int16_t(ch == 3 ? -1 : 400 + ch));
    QCOMPARE(back.device.toBytes().toHex(), expectedDevice.toBytes().toHex());
}

// A configuration read right after a write, with every answer followed by
// the unit's earlier answer of the same kind (which still holds the values
// from before the write): the model equals what the unit holds.
void TestConfigTransfer::readBackWithStaleAnswers()
{
    readAndConfigure();
    // One read first, so every kind of answer has an earlier copy to repeat.
    config()->rereadConfigFromDevice();
    configureAllChannels(*config());
    CFG_Device_Param_struct device = config()->getDeviceConfig();
    device.setChannelEnableMask(0x6F);
    device.setDebounceTime(uint16_t(device.debounceTime() + 7));
    for (int ch = 0; ch < 7; ++ch) {
        device.setScale(ch, uint16_t(9000 + ch));
        device.setThreshold(ch, uint16_t(300 + ch));
    }
    QCOMPARE(config()->setDeviceConfig(device), ERR_OK);
    QCOMPARE(config()->setDevicename(QStringLiteral("After the write")), ERR_OK);
    QCOMPARE(config()->setChannelname(QStringLiteral("Renamed"), 4), ERR_OK);
    QCOMPARE(config()->writeConfigToDevice(), ERR_OK);
    auto &p = sim()->parameters();
    QCOMPARE(p.value(0x23), QByteArray::fromHex("6f"));

    sim()->faults().staleRatio = 1.0;
    config()->setDefaultConfig();
    config()->rereadConfigFromDevice();
    sim()->faults().staleRatio = 0.0;
    const ConfigSnapshot back = ConfigSnapshot::of(*config());
    QCOMPARE(back.deviceName.toBytes(), p.value(0x2000));
    for (int ch = 0; ch < 7; ++ch)
        QCOMPARE(back.channelNames[size_t(ch)].toBytes(), p.value(0x2001, ch));
    QCOMPARE(blobContent(back.blob), blobContent(unscrambled(p.value(0x10))));
    QCOMPARE(QByteArray(1, char(back.device.channelEnableMask())), p.value(0x23));
    QCOMPARE(u16(back.device.debounceTime()), p.value(0x22));
    QCOMPARE(QByteArray(1, char(back.device.outputSelect())), p.value(0x20));
    QCOMPARE(QByteArray(1, char(back.device.outputInversion())), p.value(0x21));
    for (int ch = 0; ch < 7; ++ch) {
        QCOMPARE(u16(back.device.scale(ch)), p.value(uint16_t(0x40 + ch)));
        QCOMPARE(u16(back.device.threshold(ch)), p.value(uint16_t(0x30 + ch)));
        QCOMPARE(u16(uint16_t(back.device.referenceSkw(ch))), p.value(uint16_t(0x50 + ch)));
    }
}

void TestConfigTransfer::errorAnswerStopsWrite_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("param");
    QTest::addColumn<QString>("message");

    QTest::newRow("MAC read") << 0xE1 << 0x1002 << "Failed to read MAC Address of connected Device!";
    QTest::newRow("blob") << 0xEF << 0x0010 << "Failed to write the config to the Device!";
    QTest::newRow("output") << 0xEF << 0x0020 << "Failed to write the output config to the Device!";
    QTest::newRow("inversion") << 0xEF << 0x0021 << "Failed to write the output inversion config to the Device!";
    QTest::newRow("enable mask") << 0xEF << 0x0023 << "Failed to write the channelenable config to the Device!";
    QTest::newRow("debounce") << 0xEF << 0x0022 << "Failed to write the debounce time to the Device!";
    QTest::newRow("scale 2") << 0xEF << 0x0042 << "Failed to write the scale config to the Device!";
    QTest::newRow("threshold 5") << 0xEF << 0x0035 << "Failed to write the threshold config to the Device!";
    QTest::newRow("device name") << 0xEF << 0x2000 << "Failed to write the device name to the Device!";
    QTest::newRow("channel name") << 0xEF << 0x2001 << "Failed to write the channel name to the Device!";
}

void TestConfigTransfer::errorAnswerStopsWrite()
{
    QFETCH(int, command);
    QFETCH(int, param);
    QFETCH(QString, message);

    readAndConfigure();
    sim()->setErrorStatus(uint8_t(command), param, -20);
    QCOMPARE(int(config()->writeConfigToDevice()), -20);
    QCOMPARE(m_log->errors, QStringList{message});
    const QStringList lines = requestLines(*sim());
    QVERIFY(!lines.isEmpty());
    // The failing request is the last one: nothing after it, no save.
    QCOMPARE(lines.last().left(7), line(uint8_t(command), param));
    QCOMPARE(sim()->countRequests(0xED), 0);
    QVERIFY(!config()->waitingForFeedback());
}

void TestConfigTransfer::defaultChannelsSendNothing()
{
    // Channel 4 enabled with the default mapping entry.
    readAndConfigure();
    QCOMPARE(config()->setChannelConfig(ConfigBlob::defaultMappingEntry(), 4, false), ERR_OK);
    QCOMPARE(config()->writeConfigToDevice(), ERR_INVALID_CONFIG);
    QCOMPARE(m_log->errors, QStringList{QStringLiteral("Found active Channel with default config! Deactivate the "
                                                       "Channels or configure them. Lager 4 µ")});
    QVERIFY(requestLines(*sim()).isEmpty());
}

void TestConfigTransfer::macConflict_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("result");
    QTest::newRow("Proceed") << 1 << 0;
    QTest::newRow("Cancel") << 0 << -17;
    QTest::newRow("closed") << -1 << -17;
}

void TestConfigTransfer::macConflict()
{
    QFETCH(int, answer);
    QFETCH(int, result);

    // A model that never saw this unit: its blob has MAC address 0.
    configureAllChannels(*config());
    auto d = config()->getDeviceConfig();
    for (int ch = 0; ch < 7; ++ch)
        d.setReferenceSkw(ch, -1);
    QCOMPARE(config()->setDeviceConfig(d), ERR_OK);
    m_log->clear();
    m_log->answers << answer;

    QCOMPARE(int(config()->writeCFGDevice()), result);
    QCOMPARE(m_log->questions.size(), 1);
    const auto &q = m_log->questions.first();
    QCOMPARE(q.title, QStringLiteral("MAC Conflict"));
    QCOMPARE(q.buttons, QStringList({QStringLiteral("Cancel"), QStringLiteral("Proceed")}));
    QCOMPARE(q.kind, 2);
    QCOMPARE(q.text, QStringLiteral("MAC address PPU: %1\nMAC address SST configuration: 00:00:00:00:00:00( default "
                                    "MAC Address )\nDifferent MAC Address of the Device and the SST Config found. \n "
                                    "The Reference Values will be set to an invalid Value!")
                         .arg(macText(sim()->parameters().value(0x1002))));
    const int writes = distinctRequests(sim()->requestLog(), 0xEF);
    QCOMPARE(writes, result == 0 ? 5 + 7 * 2 : 0);
}

void TestConfigTransfer::referenceConflict_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("result");
    QTest::newRow("Yes") << 1 << 0;
    QTest::newRow("No") << 0 << -18;
}

void TestConfigTransfer::referenceConflict()
{
    QFETCH(int, answer);
    QFETCH(int, result);

    readAndConfigure();  // the model has references on every channel but 3
    sim()->parameters().setValue(0x52, u16(0xFFFF));  // the unit lost channel 2's
    sim()->setErrorStatus(0xE1, 0x54, -16);           // and channel 4's cannot be read
    m_log->answers << answer;

    QCOMPARE(int(config()->writeCFGDevice()), result);
    QCOMPARE(m_log->errors, QStringList{QStringLiteral("Failed to read Reference SKW Value from the Device!")});
    QCOMPARE(m_log->questions.size(), 1);
    const auto &q = m_log->questions.first();
    QCOMPARE(q.title, QStringLiteral("Reference State conflict"));
    QCOMPARE(q.buttons, QStringList({QStringLiteral("No"), QStringLiteral("Yes")}));
    QCOMPARE(q.kind, 2);
    QCOMPARE(q.text, QStringLiteral("Reference SKW State in SST and PPU does not match! Overwrite the PPU Config "
                                    "without the reference values? "));
    // The question comes after every write; channels 2 and 4 got none.
    const QStringList lines = requestLines(*sim());
    QCOMPARE(lines.last(), line(0xEF, 0x36));
    for (int id : {0x42, 0x32, 0x44, 0x34})
        QVERIFY2(!lines.contains(line(0xEF, id)), qPrintable(QString::number(id, 16)));
    QVERIFY(lines.contains(line(0xEF, 0x43)));  // channel 3: the tool has no reference, the unit has
}

void TestConfigTransfer::invalidEntryInUnitBlob()
{
    auto &p = sim()->parameters();
    auto blob = unscrambled(p.value(0x10));
    auto m = blob.mapping(1);
    m.setTau(0);
    blob.setMapping(1, m);
    ConfigBlob::seal(blob, 1);
    p.setValue(0x10, scrambled(blob));
    p.setValue(0x22, u16(77));

    const auto before = config()->getConfigBlob();
    QCOMPARE(config()->readCFGDevice(), ERR_OK);
    QVERIFY(m_log->errors.contains(QStringLiteral("Detected invalid Channel Config! Config ignored.")));
    QVERIFY(config()->getConfigBlob() == before);
    QCOMPARE(config()->getDeviceConfig().debounceTime(), uint16_t(77));
}

void TestConfigTransfer::failedNameReadKeepsName()
{
    QCOMPARE(config()->setChannelname(QStringLiteral("Keep me"), 2), ERR_OK);
    sim()->setErrorStatus(0xE1, 0x2001, -16);
    QSignalSpy spy(config(), &Confighandler::Channelnamechanged);
    QCOMPARE(config()->readChannelname(2), ERR_INVALID_PARAM);
    QCOMPARE(config()->channelName(2), QStringLiteral("Keep me"));
    QCOMPARE(spy.count(), 0);

    // The re-read reports each failure and goes on.
    sim()->setErrorStatus(0xE1, 0x2000, -5);
    config()->rereadConfigFromDevice();
    QCOMPARE(requestLines(*sim()).size(), 1 + 34);  // the single read above, then all 34
    QCOMPARE(m_log->errors.count(QStringLiteral("Read Channel name failed. Error: %1 Errorcode: -16")
                                     .arg(ErrorDecode::decode(-16))),
             7);
    QCOMPARE(m_log->errors.first(),
             QStringLiteral("Read device name failed. Error: %1 Errorcode: -5").arg(ErrorDecode::decode(-5)));
}

// A name kept after its read failed is another unit's (or the default), not
// this unit's: a write leaves the unit's own in place and says so. A name
// typed, read again or loaded from a file goes out as before.
void TestConfigTransfer::unreadNamesStayOnTheUnit()
{
    readAndConfigure();
    auto &p = sim()->parameters();
    QVector<QByteArray> unitNames;
    for (uint8_t ch = 0; ch < 7; ++ch) {
        QCOMPARE(config()->setChannelname(QStringLiteral("Other unit %1").arg(ch + 1), ch), ERR_OK);
        unitNames << p.value(0x2001, ch);
    }
    sim()->setErrorStatus(0xE1, 0x2001, -5);
    for (uint8_t ch = 0; ch < 7; ++ch) {
        QCOMPARE(int(config()->readChannelname(ch)), -5);
        QVERIFY(!config()->channelNameWritable(ch));
    }
    sim()->clearErrorStatus();
    QCOMPARE(config()->setChannelname(QStringLiteral("Typed"), 3), ERR_OK);
    sim()->clearRequestLog();

    const auto nameWrites = [this] {
        QStringList out;
        for (const QString &l : requestLines(*sim()))
            if (l.startsWith(line(0xEF, 0x2001)))
                out << l;
        return out;
    };
    QCOMPARE(config()->writeConfigToDevice(), ERR_OK);
    QCOMPARE(nameWrites(), QStringList{line(0xEF, 0x2001, 3)});
    for (uint8_t ch = 0; ch < 7; ++ch) {
        DeviceNameRecord typed;
        typed.setText(QStringLiteral("Typed"));
        QCOMPARE(p.value(0x2001, ch), ch == 3 ? typed.toBytes() : unitNames.at(ch));
    }
    QCOMPARE(m_log->errors,
             QStringList{QStringLiteral("The names of channels 1, 2, 3, 5, 6, 7 were not written: they could not be "
                                        "read from this unit, so the names shown are not the unit's own, and the "
                                        "unit keeps its names. A name typed for a channel is written.")});

    // A name read again is the unit's again; one whose read fails again is
    // not.
    QCOMPARE(config()->readChannelname(0), ERR_OK);
    QVERIFY(config()->channelNameWritable(0));
    m_log->clear();
    sim()->setErrorStatus(0xE1, 0x2001, -5);
    QCOMPARE(int(config()->readChannelname(0)), -5);
    sim()->clearErrorStatus();
    QCOMPARE(config()->readChannelname(1), ERR_OK);
    sim()->clearRequestLog();
    QCOMPARE(config()->writeConfigToDevice(), ERR_OK);
    QCOMPARE(nameWrites(), (QStringList{line(0xEF, 0x2001, 1), line(0xEF, 0x2001, 3)}));
    QCOMPARE(m_log->errors,
             QStringList{QStringLiteral("The names of channels 1, 3, 5, 6, 7 were not written: they could not be read "
                                        "from this unit, so the names shown are not the unit's own, and the unit "
                                        "keeps its names. A name typed for a channel is written.")});

    // Names loaded from a file are the engineer's choice for the unit.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("chosen.cfg"));
    QCOMPARE(config()->saveConfigFile(file), ERR_OK);
    QCOMPARE(config()->loadConfigFile(file), ERR_OK);
    m_log->clear();
    sim()->clearRequestLog();
    QCOMPARE(config()->writeConfigToDevice(), ERR_OK);
    QCOMPARE(nameWrites().size(), 7);
    QVERIFY(m_log->errors.isEmpty());
}

// The device name follows the channel names' rule.
void TestConfigTransfer::unreadDeviceNameStaysOnTheUnit()
{
    readAndConfigure();
    auto &p = sim()->parameters();
    const QByteArray unitName = p.value(0x2000);
    QCOMPARE(config()->setDevicename(QStringLiteral("Other unit")), ERR_OK);
    sim()->setErrorStatus(0xE1, 0x2000, -5);
    QCOMPARE(int(config()->readDevicename()), -5);
    QVERIFY(!config()->deviceNameWritable());
    QCOMPARE(config()->deviceName(), QStringLiteral("Other unit"));
    sim()->clearErrorStatus();

    const auto deviceNameWrites = [this] {
        int n = 0;
        for (const QString &l : requestLines(*sim()))
            n += l.startsWith(line(0xEF, 0x2000));
        return n;
    };
    m_log->clear();
    sim()->clearRequestLog();
    QCOMPARE(config()->writeConfigToDevice(), ERR_OK);
    QCOMPARE(deviceNameWrites(), 0);
    QCOMPARE(p.value(0x2000), unitName);
    QCOMPARE(m_log->errors,
             QStringList{QStringLiteral("The device name was not written: it could not be read from this unit, so "
                                        "the name shown is not the unit's own, and the unit keeps its name. A name "
                                        "typed for the device is written.")});

    // A typed name is the engineer's for this unit.
    QCOMPARE(config()->setDevicename(QStringLiteral("Typed")), ERR_OK);
    QVERIFY(config()->deviceNameWritable());
    m_log->clear();
    sim()->clearRequestLog();
    QCOMPARE(config()->writeConfigToDevice(), ERR_OK);
    QCOMPARE(deviceNameWrites(), 1);
    DeviceNameRecord typed;
    typed.setText(QStringLiteral("Typed"));
    QCOMPARE(p.value(0x2000), typed.toBytes());
    QVERIFY(m_log->errors.isEmpty());
}

void TestConfigTransfer::fieldbusBlock()
{
    QByteArray a(567, '\0');
    for (int i = 0; i < a.size(); ++i)
        a[i] = char(255 - i);
    sim()->parameters().setValue(0x3000, a);
    QSignalSpy spy(config(), &Confighandler::AnybusCFGchanged);
    QCOMPARE(config()->readCFGFieldbus(), ERR_OK);
    QCOMPARE(config()->getAnybusCFG().toBytes(), a);
    QCOMPARE(spy.count(), 1);

    sim()->setErrorStatus(0xE1, 0x3000, -7);
    QCOMPARE(int(config()->readCFGFieldbus()), -7);
    QCOMPARE(config()->getAnybusCFG().toBytes(), a);
    QVERIFY(m_log->errors.isEmpty());
}

void TestConfigTransfer::networkSettings()
{
    QSignalSpy spy(config(), &Confighandler::ConfigConnectivitychanged);
    const QHostAddress ip(QStringLiteral("10.20.30.40"));
    const QHostAddress mask(QStringLiteral("255.255.240.0"));

    // Store only: nothing goes to the unit.
    QCOMPARE(config()->setNetworkSettings(ip, mask, false), ERR_OK);
    QCOMPARE(spy.count(), 1);
    QVERIFY(requestLines(*sim()).isEmpty());

    QCOMPARE(config()->setNetworkSettings(QHostAddress(QStringLiteral("10.20.30.41")), mask, true), ERR_OK);
    QCOMPARE(requestLines(*sim()), QStringList({line(0xEF, 0x1000), line(0xEF, 0x1001)}));
    QCOMPARE(sim()->parameters().ipAddress(), QHostAddress(QStringLiteral("10.20.30.41")));
    QCOMPARE(sim()->parameters().netmask(), mask);
    QCOMPARE(spy.count(), 2);
    const auto stored = spy.last().at(0).value<CFG_ConnectionParameters_struct>();
    QCOMPARE(stored.toBytes().left(8).toHex(), QByteArray("0a141e29fffff000"));

    QCOMPARE(config()->setIpAddress(ip, true), ERR_OK);
    QCOMPARE(sim()->parameters().ipAddress(), ip);
    QCOMPARE(config()->setSubnetMask(QHostAddress(QStringLiteral("255.0.0.0")), true), ERR_OK);
    QCOMPARE(sim()->parameters().netmask(), QHostAddress(QStringLiteral("255.0.0.0")));
    QCOMPARE(spy.count(), 4);

    // Not an IPv4 address: refused, nothing changes.
    QCOMPARE(config()->setIpAddress(QHostAddress(QStringLiteral("::1")), false), ERR_INVALID_PARAM);
    QCOMPARE(config()->getIpAddress(), ip);
    QVERIFY(m_log->errors.isEmpty());
}

void TestConfigTransfer::networkSettingsFailures_data()
{
    QTest::addColumn<int>("call");  // 0 setNetworkSettings, 1 setIpAddress, 2 setSubnetMask
    QTest::addColumn<int>("failing");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("sent");

    QTest::newRow("both, address fails") << 0 << 0x1000 << "Failed to set ip Address! Errorcode: -3"
                                         << QStringList{line(0xEF, 0x1000)};
    QTest::newRow("both, mask fails") << 0 << 0x1001 << "Failed to set sub net mask! Errorcode: -3"
                                      << QStringList{line(0xEF, 0x1000), line(0xEF, 0x1001)};
    QTest::newRow("address") << 1 << 0x1000 << "Failed to set ip address! Errorcode: -3"
                             << QStringList{line(0xEF, 0x1000)};
    QTest::newRow("mask") << 2 << 0x1001 << "Failed to set sub net mask! Errorcode: -3"
                          << QStringList{line(0xEF, 0x1001)};
}

void TestConfigTransfer::networkSettingsFailures()
{
    QFETCH(int, call);
    QFETCH(int, failing);
    QFETCH(QString, message);
    QFETCH(QStringList, sent);

    const QHostAddress ip(QStringLiteral("10.0.0.9"));
    const QHostAddress mask(QStringLiteral("255.255.0.0"));
    sim()->setErrorStatus(0xEF, failing, -3);
    QSignalSpy spy(config(), &Confighandler::ConfigConnectivitychanged);
    errorCode_e r = ERR_OK;
    switch (call) {
    case 0: r = config()->setNetworkSettings(ip, mask, true); break;
    case 1: r = config()->setIpAddress(ip, true); break;
    case 2: r = config()->setSubnetMask(mask, true); break;
    }
    QCOMPARE(int(r), -3);
    QCOMPARE(m_log->errors, QStringList{message});
    QCOMPARE(requestLines(*sim()), sent);
    QCOMPARE(spy.count(), 0);
    // The values are stored all the same.
    if (call != 2)
        QCOMPARE(config()->getIpAddress(), ip);
    if (call != 1)
        QCOMPARE(config()->getSubnetMask(), mask);
}

void TestConfigTransfer::fileOverwritesNetworkOnUnit()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Confighandler other;
    configureAllChannels(other);
    other.setNetworkSettings(QHostAddress(QStringLiteral("172.16.5.6")), QHostAddress(QStringLiteral("255.255.0.0")));
    const QString path = dir.filePath(QStringLiteral("net.cfg"));
    QCOMPARE(other.saveConfigFile(path), ERR_OK);

    m_log->answers << 1;  // "Overwrite Parameters"
    QCOMPARE(config()->loadConfigFile(path), ERR_OK);
    QCOMPARE(requestLines(*sim()), QStringList({line(0xEF, 0x1000), line(0xEF, 0x1001), QStringLiteral("ed 1200")}));
    QCOMPARE(sim()->parameters().ipAddress(), QHostAddress(QStringLiteral("172.16.5.6")));
    QCOMPARE(sim()->parameters().netmask(), QHostAddress(QStringLiteral("255.255.0.0")));
    QCOMPARE(config()->getIpAddress(), QHostAddress(QStringLiteral("172.16.5.6")));
    QVERIFY(config()->waitingForFeedback());
    QCOMPARE(config()->deviceName(), QStringLiteral("Presse Süd; Linie 2"));
}

QTEST_GUILESS_MAIN(TestConfigTransfer)
#include "tst_configtransfer.moc"
