// The request engine and every command, against the simulated unit.
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QTimer>
#include <QTest>
#include <functional>

#include "byteorder.h"
#include "requestlog.h"
#include "testnet.h"
#include "unitsimfixture.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.1.10"));
const QHostAddress kStranger(QStringLiteral("127.0.1.14"));

QByteArray frameWithSeq1(uint8_t command, const QByteArray &payload)
{
    return buildFrame(1, command, payload);
}

// Debug lines of the request path, with their category, while installed.
struct DebugLines
{
    DebugLines() { s_lines.clear(); s_previous = qInstallMessageHandler(&DebugLines::take); }
    ~DebugLines() { qInstallMessageHandler(s_previous); }
    static void take(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type == QtDebugMsg)
            s_lines.append(QString::fromLatin1(context.category) + QLatin1Char(' ') + text);
    }
    static QStringList s_lines;
    static QtMessageHandler s_previous;
};
QStringList DebugLines::s_lines;
QtMessageHandler DebugLines::s_previous = nullptr;

QByteArray le16(uint16_t v)
{
    QByteArray b(2, '\0');
    le::put16(reinterpret_cast<uint8_t *>(b.data()), v);
    return b;
}

} // namespace

class TestEthernetHandler : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void literalWireBytes();
    void everyCommand();
    void retries_data();
    void retries();
    void threeDropsTimeOut();
    void lateAnswerCounts();
    void errorAnswerReturnsStatus();
    void exchangeTraceOnlyWhenAskedFor();
    void strangerIsIgnored();
    void noUnitChosen();
    void nestedRequestAndDiscoveryFail();
    void shortWholeRecordsFail_data();
    void shortWholeRecordsFail();
    void macAnswerIsZeroFilled();
    void answerForAnotherSlotFails_data();
    void answerForAnotherSlotFails();
    void refRunResult();
    void productInfoLength();
    void channelRangeChecks();

private:
    SimLink m_link;
    UnitSim *sim() { return m_link.sim.get(); }
    EthernetHandler *eth() { return m_link.handler(); }
};

void TestEthernetHandler::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(m_link.start(kUnit, 2, SimLink::quietTimings()));
    m_link.connectToUnit();
    sim()->clearRequestLog();
}

void TestEthernetHandler::cleanup()
{
    m_link.device.reset();
    m_link.sim.reset();
}

void TestEthernetHandler::literalWireBytes()
{
    eth()->setSequenceNumber(0);
    QCOMPARE(eth()->sendHeartbeat(), ERR_OK);
    QTRY_COMPARE(sim()->requestLog().size(), 1);
    QCOMPARE(hexOf(sim()->requestLog().at(0).datagram), QByteArray("01 00 80 71 00 00 01 00 50 46"));

    sim()->clearRequestLog();
    eth()->setSequenceNumber(0);
    QString name;
    QCOMPARE(eth()->readDeviceName(name), ERR_OK);
    QCOMPARE(hexOf(requestsOf(*sim(), 0xE1).at(0).datagram), QByteArray("01 00 80 e1 02 00 01 00 00 20 a3 5e"));
    QCOMPARE(name, QStringLiteral("Korvantis PPU 10"));
}

// Each command: its request payload on the wire (with sequence number 1)
// and what the tool makes of the answer.
void TestEthernetHandler::everyCommand()
{
    struct Case
    {
        const char *name;
        uint8_t command;
        QByteArray payload;
        std::function<errorCode_e()> run;
        std::function<bool()> check;
    };
    UnitSim *s = sim();
    EthernetHandler *e = eth();
    uint8_t u8v = 0xAA;
    uint16_t u16v = 0xAAAA;
    uint32_t u32v = 0;
    QHostAddress addr;
    QString text;
    QByteArray big(600, '\0');
    auto *bigData = reinterpret_cast<uint8_t *>(big.data());
    ProductInfoRecord info;
    DeviceNameRecord nameRecord(QStringLiteral("Pump house"));
    QByteArray blob(512, '\0');
    for (int i = 0; i < blob.size(); ++i)
        blob[i] = char(i * 7);
    QByteArray anybus(567, '\x5A');
    const auto param = [s](uint16_t id, int index = -1) { return s->parameters().value(id, index); };

    const QVector<Case> cases = {
        {"read config blob", 0xE1, le16(0x10), [&] { return e->readConfigBlob(bigData); },
         [&] { return big.left(512) == param(0x10); }},
        {"read output config", 0xE1, le16(0x20), [&] { return e->readOutputConfig(u8v); }, [&] { return u8v == 1; }},
        {"read output inversion", 0xE1, le16(0x21), [&] { return e->readOutputInversion(u8v); },
         [&] { return u8v == 0; }},
        {"read debounce", 0xE1, le16(0x22), [&] { return e->readDebounceTime(u16v); }, [&] { return u16v == 100; }},
        {"read enable mask", 0xE1, le16(0x23), [&] { return e->readChannelEnableMask(u8v); },
         [&] { return u8v == 0x7F; }},
        {"read threshold 2", 0xE1, le16(0x32), [&] { return e->readChannelThreshold(u16v, 2); },
         [&] { return u16v == 502; }},
        {"read scale 2", 0xE1, le16(0x42), [&] { return e->readChannelScale(u16v, 2); },
         [&] { return u16v == 7400; }},
        {"read ref SKW 1", 0xE1, le16(0x51), [&] { return e->readChannelRefSKW(u16v, 1); },
         [&] { return u16v == 0xFFFF; }},
        {"read IP", 0xE1, le16(0x1000), [&] { return e->readIPAddress(addr); }, [&] { return addr == kUnit; }},
        {"read netmask", 0xE1, le16(0x1001), [&] { return e->readNetmask(addr); },
         [&] { return addr == QHostAddress(QStringLiteral("255.255.255.0")); }},
        {"read MAC", 0xE1, le16(0x1002), [&] { return e->readMACAddress(bigData); },
         [&] { return big.left(8) == QByteArray::fromHex("024b5600010a0000"); }},
        {"read 0x1F02", 0xE1, le16(0x1F02), [&] { return e->readParam1F02(u32v); },
         [&] { return u32v == 0x00010002u; }},
        {"read channel name 3", 0xE1, QByteArray::fromHex("012003"), [&] { return e->readChannelName(text, 3); },
         [&] { return text == QStringLiteral("Channel 4"); }},
        {"read fieldbus", 0xE1, le16(0x3000), [&] { return e->readAnybusCFG(bigData); },
         [&] { return big.left(567) == param(0x3000); }},
        {"write output config", 0xEF, QByteArray::fromHex("200002"), [&] { return e->writeOutputConfig(2); },
         [&] { return param(0x20) == QByteArray::fromHex("02"); }},
        {"write inversion", 0xEF, QByteArray::fromHex("210001"), [&] { return e->writeOutputInversion(1); },
         [&] { return param(0x21) == QByteArray::fromHex("01"); }},
        {"write debounce", 0xEF, QByteArray::fromHex("2200fa00"), [&] { return e->writeDebounceTime(250); },
         [&] { return param(0x22) == QByteArray::fromHex("fa00"); }},
        {"write enable mask", 0xEF, QByteArray::fromHex("230015"), [&] { return e->writeChannelEnableMask(0x15); },
         [&] { return param(0x23) == QByteArray::fromHex("15"); }},
        {"write threshold 3 from ref run", 0xEF, QByteArray::fromHex("3b00bc02"),
         [&] { return e->writeChannelThreshold(700, 3, true); },
         [&] { return param(0x33) == QByteArray::fromHex("bc02"); }},
        {"write scale 6", 0xEF, QByteArray::fromHex("46000852"), [&] { return e->writeChannelScale(21000, 6, false); },
         [&] { return param(0x46) == QByteArray::fromHex("0852"); }},
        {"write IP", 0xEF, QByteArray::fromHex("00101401a8c0"),
         [&] { return e->writeIPAddress(QHostAddress(QStringLiteral("192.168.1.20"))); },
         [&] { return s->parameters().ipAddress() == QHostAddress(QStringLiteral("192.168.1.20")); }},
        {"write netmask", 0xEF, QByteArray::fromHex("011000ffffff"),
         [&] { return e->writeNetmask(QHostAddress(QStringLiteral("255.255.255.0"))); },
         [&] { return s->parameters().netmask() == QHostAddress(QStringLiteral("255.255.255.0")); }},
        {"write device name", 0xEF, le16(0x2000) + nameRecord.toBytes(), [&] { return e->writeDeviceName(nameRecord); },
         [&] { return param(0x2000) == nameRecord.toBytes(); }},
        {"write channel name 5", 0xEF, QByteArray::fromHex("012005") + nameRecord.toBytes(),
         [&] { return e->writeChannelName(nameRecord, 5); },
         [&] { return param(0x2001, 5) == nameRecord.toBytes(); }},
        {"write blob", 0xEF, le16(0x10) + blob,
         [&] { return e->writeConfigBlob(reinterpret_cast<const uint8_t *>(blob.constData())); },
         [&] { return param(0x10) == blob; }},
        {"write fieldbus", 0xEF, le16(0x3000) + anybus,
         [&] { return e->writeAnybusCFG(reinterpret_cast<const uint8_t *>(anybus.constData())); },
         [&] { return param(0x3000) == anybus; }},
        {"service 0x10", 0xED, le16(0x10), [&] { return e->sendServiceAction16(); }, [] { return true; }},
        {"init config write", 0xED, le16(0x12), [&] { return e->initConfigWrite(); }, [] { return true; }},
        {"execute config write", 0xED, le16(0x11), [&] { return e->executeConfigWrite(); }, [] { return true; }},
        {"reset fieldbus", 0xED, le16(0x30), [&] { return e->resetFieldbusModule(); }, [] { return true; }},
        {"ftp on", 0xED, le16(0x40), [&] { return e->setFieldbusFtp(true); }, [] { return true; }},
        {"ftp off", 0xED, le16(0x41), [&] { return e->setFieldbusFtp(false); }, [] { return true; }},
        {"reset default config", 0xED, le16(0x20), [&] { return e->resetDefaultConfig(); },
         [&] { return param(0x20) == QByteArray::fromHex("01"); }},
        {"ref run mode", 0x22, QByteArray::fromHex("01"), [&] { return e->setRefRunMode(1); },
         [&] { return (s->heartbeat().runControl & 0x0F) == 1; }},
        {"manual run", 0x23, QByteArray::fromHex("00"), [&] { return e->startManualRun(); }, [] { return true; }},
        {"stop data run", 0x26, QByteArray::fromHex("00"), [&] { return e->stopDataRun(); }, [] { return true; }},
        {"error reset", 0xFE, QByteArray::fromHex("00"),
         [&] {
             s->heartbeat().errorBits = 0x81;
             return e->sendErrorReset();
         },
         [&] { return s->heartbeat().errorBits == 0; }},
        {"reference-run result", 0x21, QByteArray(), [&] { return e->requestRefRunResult(); },
         [&] { return e->refRunResult().toByteArray() == s->refRunResult().toByteArray(); }},
        {"product info", 0xE0, QByteArray(), [&] { return e->readProductInfo(&info); },
         [&] { return info.firmwareBuild == 1339 && info.firmwareMajor == 3 && info.firmwareMinor == 11; }},
        {"record value", 0x70, le16(0), [&] { return e->readRecordValue(u32v); },
         [&] { return u32v == 0x12345678u; }},
        {"record block", 0x70, le16(1), [&] { return e->readRecordBlock(bigData); },
         [&] { return big.mid(30, 570) == s->recordArea() && big.left(4) == QByteArray(4, '\0'); }},
    };

    for (const Case &c : cases) {
        sim()->clearRequestLog();
        eth()->setSequenceNumber(0);
        const errorCode_e r = c.run();
        QVERIFY2(r == ERR_OK, qPrintable(QStringLiteral("%1: result %2").arg(c.name).arg(r)));
        const auto sent = requestsOf(*sim(), c.command);
        QVERIFY2(!sent.isEmpty(), c.name);
        QCOMPARE(hexOf(sent.first().datagram), hexOf(frameWithSeq1(c.command, c.payload)));
        QVERIFY2(c.check(), c.name);
    }

    // Restart goes out once, unanswered, and the unit comes back by itself.
    sim()->clearRequestLog();
    eth()->setSequenceNumber(0);
    QSignalSpy back(sim(), &UnitSim::restarted);
    QCOMPARE(eth()->restartPPU(), ERR_OK);
    QTRY_COMPARE(sim()->countRequests(0xFF), 1);
    QCOMPARE(hexOf(requestsOf(*sim(), 0xFF).first().datagram), hexOf(frameWithSeq1(0xFF, {})));
    QVERIFY(back.wait(20000));
}

void TestEthernetHandler::retries_data()
{
    QTest::addColumn<int>("fault");
    QTest::newRow("dropped once") << 0;
    QTest::newRow("wrong sequence number") << 1;
    QTest::newRow("wrong command") << 2;
    QTest::newRow("bad CRC") << 3;
    QTest::newRow("cut short") << 4;
}

// The first answer is lost or unusable: the second attempt, with the very
// same frame, gets the answer.
void TestEthernetHandler::retries()
{
    QFETCH(int, fault);
    UnitSimFaults &f = sim()->faults();
    switch (fault) {
    case 0: f.dropAnswers = 1; break;
    case 1: f.wrongSequence = 1; break;
    case 2: f.wrongCommand = 1; break;
    case 3: f.corruptCrc = 1; break;
    case 4: f.shortDatagram = 1; break;
    }
    uint16_t debounce = 0;
    QCOMPARE(eth()->readDebounceTime(debounce), ERR_OK);
    QCOMPARE(debounce, uint16_t(100));
    // At least one more attempt, each the very same frame (on a busy machine
    // the second attempt's answer may come late too).
    const auto log = requestsOf(*sim(), 0xE1);
    QVERIFY(log.size() >= 2);
    for (const UnitSimRequest &r : log)
        QCOMPARE(r.datagram, log.at(0).datagram);
}

void TestEthernetHandler::threeDropsTimeOut()
{
    sim()->faults().dropAnswers = 3;
    uint8_t value = 0x33;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(eth()->readOutputConfig(value), ERR_TIMEOUT);
    QVERIFY(clock.elapsed() >= 3 * eth()->baseTimeout() - 30);
    QCOMPARE(value, uint8_t(0x33));
    const auto log = requestsOf(*sim(), 0xE1);
    QCOMPARE(log.size(), 3);
    QCOMPARE(log.at(2).datagram, log.at(0).datagram);
    QVERIFY(!eth()->isWaiting());
}

void TestEthernetHandler::lateAnswerCounts()
{
    // Answer to attempt 1 arrives during attempt 2.
    sim()->faults().delayMs = int(eth()->baseTimeout() * 3 / 2);
    uint8_t value = 0;
    QCOMPARE(eth()->readOutputConfig(value), ERR_OK);
    QCOMPARE(value, uint8_t(1));
    // Sent again (the same request) while the answer was on its way.
    QVERIFY(requestsOf(*sim(), 0xE1).size() >= 2);
    QCOMPARE(withoutResends(requestsOf(*sim(), 0xE1)).size(), 1);
}

void TestEthernetHandler::errorAnswerReturnsStatus()
{
    sim()->setErrorStatus(0xE1, 0x20, -16);
    uint8_t value = 0x33;
    QCOMPARE(eth()->readOutputConfig(value), ERR_INVALID_PARAM);
    QCOMPARE(value, uint8_t(0x33));
    QCOMPARE(requestsOf(*sim(), 0xE1).size(), 1);  // no retry after an error answer

    // The unit's own status codes pass through unchanged.
    sim()->setErrorStatus(0xED, -1, 4711);
    QCOMPARE(int(eth()->resetFieldbusModule()), 4711);
    // An error answer that carries status 0 is still a refusal.
    sim()->setErrorStatus(0xE1, 0x20, 0);
    QCOMPARE(eth()->readOutputConfig(value), ERR_RESPONSE);
    QCOMPARE(value, uint8_t(0x33));
    // Other parameters are unaffected.
    QCOMPARE(eth()->readOutputInversion(value), ERR_OK);
}

void TestEthernetHandler::exchangeTraceOnlyWhenAskedFor()
{
    // Every exchange used to write its trace to the debug output, formatted
    // whether anyone read it or not. It is off unless asked for...
    uint8_t value = 0;
    {
        DebugLines lines;
        QCOMPARE(eth()->readOutputConfig(value), ERR_OK);
        for (const QString &line : DebugLines::s_lines) {
            QVERIFY2(!line.contains(QLatin1String("mmsgReceived")) && !line.contains(QLatin1String("got Response"))
                         && !line.contains(QLatin1String("sendPacketSignal")),
                     qPrintable(line));
        }
    }
    // ... and when asked for, the same lines as ever.
    QLoggingCategory::setFilterRules(QStringLiteral("korvantis.link.exchange.debug=true"));
    {
        DebugLines lines;
        QCOMPARE(eth()->readOutputConfig(value), ERR_OK);
        QLoggingCategory::setFilterRules(QString());
        const QStringList expected = {QStringLiteral("korvantis.link.exchange mmsgReceived =  0"),
                                      QStringLiteral("korvantis.link.exchange sendPacketSignal"),
                                      QStringLiteral("korvantis.link.exchange mmsgReceived = 1"),
                                      QStringLiteral("korvantis.link.exchange got Response")};
        for (const QString &line : expected)
            QVERIFY2(DebugLines::s_lines.contains(line), qPrintable(DebugLines::s_lines.join(QLatin1Char('\n'))));
    }
    QCOMPARE(value, uint8_t(1));
}

void TestEthernetHandler::strangerIsIgnored()
{
    UnitSim stranger;
    QVERIFY(stranger.startQuiet(kStranger));
    const uint16_t toolPort = m_link.device->udpServer()->localPort();
    QVERIFY(toolPort != 0);

    // The unit stays silent; another address sends the perfect answer.
    sim()->faults().dropAnswers = 3;
    connect(sim(), &UnitSim::requestReceived, &stranger, [&](const UnitSimRequest &q) {
        QByteArray payload = le16(0x20);
        payload.append(char(9));
        stranger.sendFrame(FrameFlag::Answer, q.command, q.sequence, payload, QHostAddress::LocalHost, toolPort);
    });
    uint8_t value = 0x33;
    QCOMPARE(eth()->readOutputConfig(value), ERR_TIMEOUT);
    QCOMPARE(value, uint8_t(0x33));
}

void TestEthernetHandler::noUnitChosen()
{
    m_link.handler()->disconnectFromDevice();
    QCOMPARE(eth()->targetAddress(), QHostAddress(QHostAddress::LocalHost));
    QVector<QHostAddress> sent;
    connect(eth(), &EthernetHandler::sendPacketSignal, this,
            [&sent](const QByteArray &, const QHostAddress &to) { sent.append(to); });
    uint8_t value = 0;
    // It fails at once: no wait, so no event loop runs meanwhile.
    QTimer probe;
    probe.setSingleShot(true);
    QSignalSpy waited(&probe, &QTimer::timeout);
    probe.start(0);
    QCOMPARE(eth()->readOutputConfig(value), ERR_INVALID_CONFIG);
    QCOMPARE(waited.count(), 0);
    QCOMPARE(sent.count(), 0);
    // Fire and forget still goes out, to the local host.
    QCOMPARE(eth()->restartPPU(), ERR_OK);
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sent.at(0), QHostAddress(QHostAddress::LocalHost));
}

void TestEthernetHandler::nestedRequestAndDiscoveryFail()
{
    // While a request waits, a second request and a discovery both fail with
    // -1100, and the first request still gets its own answer.
    sim()->faults().delayMs = int(eth()->baseTimeout() / 2);
    errorCode_e nested = ERR_OK;
    errorCode_e discovery = ERR_OK;
    QTimer::singleShot(10, this, [&] {
        uint8_t v = 0;
        nested = eth()->readOutputInversion(v);
        discovery = eth()->mgGetMGDiscover(MG_Discover_Request_t());
    });
    uint16_t debounce = 0;
    QCOMPARE(eth()->readDebounceTime(debounce), ERR_OK);
    QCOMPARE(debounce, uint16_t(100));
    QCOMPARE(nested, ERR_ALREADY_WAITING);
    QCOMPARE(discovery, ERR_ALREADY_WAITING);
    QCOMPARE(sim()->countRequests(0xD1), 0);
    QVERIFY(!eth()->isWaiting());
}

void TestEthernetHandler::shortWholeRecordsFail_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("truncateTo");
    QTest::newRow("config blob") << 0 << 2 + 510;
    QTest::newRow("device name") << 1 << 2 + 100;
    QTest::newRow("channel name") << 2 << 3 + 200;
    QTest::newRow("fieldbus record") << 3 << 2 + 560;
}

// A record the tool keeps whole is never taken from a short answer.
void TestEthernetHandler::shortWholeRecordsFail()
{
    QFETCH(int, which);
    QFETCH(int, truncateTo);
    QByteArray out(600, '\x77');
    auto *data = reinterpret_cast<uint8_t *>(out.data());
    QString text = QStringLiteral("untouched");

    // A good read first, so the cache holds a value a short answer could spoil.
    auto read = [&]() {
        switch (which) {
        case 0: return eth()->readConfigBlob(data);
        case 1: return eth()->readDeviceName(text);
        case 2: return eth()->readChannelName(text, 2);
        default: return eth()->readAnybusCFG(data);
        }
    };
    QCOMPARE(read(), ERR_OK);
    const QByteArray goodOut = out;
    const QString goodText = text;

    sim()->faults().truncatePayload = 1;
    sim()->faults().truncateTo = truncateTo;
    QCOMPARE(read(), ERR_DATA_SIZE);
    QCOMPARE(out, goodOut);
    QCOMPARE(text, goodText);
    // The next full answer is fine again and the cache kept the whole record.
    QCOMPARE(read(), ERR_OK);
    QCOMPARE(out, goodOut);
}

void TestEthernetHandler::macAnswerIsZeroFilled()
{
    // A unit may send only the 6 MAC bytes.
    sim()->parameters().setValue(0x1002, QByteArray::fromHex("0a0b0c0d0e0f1122"));
    sim()->faults().truncatePayload = 1;
    sim()->faults().truncateTo = 2 + 6;
    QByteArray mac(8, '\x77');
    QCOMPARE(eth()->readMACAddress(reinterpret_cast<uint8_t *>(mac.data())), ERR_OK);
    QCOMPARE(mac, QByteArray::fromHex("0a0b0c0d0e0f0000"));
}

void TestEthernetHandler::answerForAnotherSlotFails_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("which");
    // Channel name asked for channel 2; the unit answers index 7 or index 3.
    QTest::newRow("name index 7") << (QByteArray::fromHex("012007") + DeviceNameRecord(QStringLiteral("X")).toBytes())
                                  << 0;
    QTest::newRow("name index 3") << (QByteArray::fromHex("012003") + DeviceNameRecord(QStringLiteral("X")).toBytes())
                                  << 0;
    // Scale of channel 2 asked; the answer names channel 7 or a flagged id.
    QTest::newRow("scale 0x47") << QByteArray::fromHex("47003412") << 1;
    QTest::newRow("scale 0x4a") << QByteArray::fromHex("4a003412") << 1;
}

void TestEthernetHandler::answerForAnotherSlotFails()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, which);
    QString name;
    uint16_t scale = 0;
    QCOMPARE(which == 0 ? eth()->readChannelName(name, 2) : eth()->readChannelScale(scale, 2), ERR_OK);
    const QString goodName = name;
    const uint16_t goodScale = scale;

    sim()->setHandler(0xE1, [answer](const UnitSimRequest &, UnitSimReply &r) { r.payload = answer; });
    QCOMPARE(which == 0 ? eth()->readChannelName(name, 2) : eth()->readChannelScale(scale, 2), ERR_RESPONSE);
    QCOMPARE(name, goodName);
    QCOMPARE(scale, goodScale);
}

void TestEthernetHandler::refRunResult()
{
    ReferenceRunResult_t received;
    int emitted = 0;
    connect(eth(), &EthernetHandler::RefRunResultreceived, this, [&](ReferenceRunResult_t &r) {
        received = r;
        ++emitted;
    });
    QCOMPARE(eth()->requestRefRunResult(), ERR_OK);
    QCOMPARE(emitted, 1);
    QCOMPARE(received.toByteArray(), sim()->refRunResult().toByteArray());
    QVERIFY(received.scaleMode());
    QCOMPARE(received.channelMask(), uint8_t(0x07));

    // 70 bytes are not a result: a failure, and nothing for a dialog to write.
    sim()->refRunResult().newReference[0] = 1234;
    sim()->faults().truncatePayload = 1;
    sim()->faults().truncateTo = 70;
    QCOMPARE(eth()->requestRefRunResult(), ERR_DATA_SIZE);
    QCOMPARE(emitted, 1);
    QVERIFY(eth()->refRunResult().newReference[0] != 1234);
}

void TestEthernetHandler::productInfoLength()
{
    ProductInfoRecord info;
    QCOMPARE(eth()->readProductInfo(&info), ERR_OK);
    QCOMPARE(info.hardwareRevision, uint8_t(2));

    // Any length but 12 ends the wait, and the record reads as zeros.
    for (int size : {10, 14}) {
        sim()->setHandler(0xE0, [size](const UnitSimRequest &, UnitSimReply &r) { r.payload = QByteArray(size, '\x11'); });
        info.firmwareBuild = 99;
        QCOMPARE(eth()->readProductInfo(&info), ERR_OK);
        QCOMPARE(info.toByteArray(), QByteArray(ProductInfoRecord::kSize, '\0'));
    }
}

void TestEthernetHandler::channelRangeChecks()
{
    QSignalSpy sent(eth(), &EthernetHandler::sendPacketSignal);
    QString name = QStringLiteral("keep");
    uint16_t value = 5;
    DeviceNameRecord record(QStringLiteral("n"));
    QCOMPARE(eth()->readChannelName(name, 7), ERR_INVALID_VALUE);
    QCOMPARE(eth()->writeChannelName(record, 7), ERR_INVALID_PARAM);
    QCOMPARE(eth()->writeChannelScale(100, 7, false), ERR_INVALID_PARAM);
    QCOMPARE(eth()->writeChannelThreshold(100, 9, true), ERR_INVALID_PARAM);
    QCOMPARE(eth()->readChannelScale(value, 7), ERR_INVALID_PARAM);
    QCOMPARE(sent.count(), 0);
    QCOMPARE(name, QStringLiteral("keep"));
    QCOMPARE(value, uint16_t(5));
}

QTEST_GUILESS_MAIN(TestEthernetHandler)
#include "tst_ethernethandler.moc"
