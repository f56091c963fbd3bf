// Heartbeat, state reports and the link watchdog against the simulated unit.
#include <QElapsedTimer>
#include <QTest>

#include "settle.h"
#include "testnet.h"
#include "unitsimfixture.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.1.11"));

// Counts the link signals of a handler.
struct LinkCounter
{
    int pings = 0;
    int lost = 0;
    HearBeatMessage_t last;

    void attach(EthernetHandler *eth, QObject *context)
    {
        QObject::connect(eth, &EthernetHandler::connectionPing, context,
                         [this](HearBeatMessage_t &hb, QHostAddress) {
                             last = hb;
                             ++pings;
                         });
        QObject::connect(eth, &EthernetHandler::connectionLost, context, [this] { ++lost; });
    }
};

} // namespace

class TestEthernetHandlerLink : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void watchdog_data();
    void watchdog();
    void heartbeatAnswersResumeLink();
    void heartbeatCarriesState();
    void wrongHeartbeatLengthIgnored_data();
    void wrongHeartbeatLengthIgnored();
    void pausedLinkWatch();
    void targetSetThriceKeepsOneTimer();
    void disconnectAndInterfaceChange();
    void restartComesBack();

private:
    SimLink m_link;
    LinkCounter m_count;
    bool startLink(int threads, const LinkTimings &timings);
};

bool TestEthernetHandlerLink::startLink(int threads, const LinkTimings &timings)
{
    if (!m_link.start(kUnit, threads, timings))
        return false;
    m_count = LinkCounter();
    m_count.attach(m_link.handler(), m_link.device.get());
    return true;
}

void TestEthernetHandlerLink::cleanup()
{
    m_link.device.reset();
    m_link.sim.reset();
}

void TestEthernetHandlerLink::watchdog_data()
{
    QTest::addColumn<int>("threads");
    QTest::newRow("worker thread") << 2;
    QTest::newRow("single core") << 1;
}

// The unit's own reports keep the link although the tool's heartbeat period
// is far longer than the watchdog; when they stop, the link is lost once.
void TestEthernetHandlerLink::watchdog()
{
    KORVANTIS_REQUIRE_TESTNET();
    QFETCH(int, threads);
    LinkTimings t = SimLink::quietTimings();
    t.watchdogMs = 1000;
    t.watchdogSingleCoreMs = 1000;
    QVERIFY(startLink(threads, t));
    EthernetHandler *eth = m_link.handler();
    m_link.sim->setPushInterval(50);
    m_link.connectToUnit();

    // Three watchdog periods of reports: still connected, nothing lost.
    const int reports = 3 * eth->timings().watchdogMs / 50;
    QTRY_VERIFY_WITH_TIMEOUT(m_count.pings >= reports, 60000);
    QVERIFY(eth->isConnected());
    QCOMPARE(m_count.lost, 0);

    m_link.sim->setPushInterval(0);
    QTRY_COMPARE_WITH_TIMEOUT(m_count.lost, 1, 20000);
    QVERIFY(!eth->isConnected());
    // The watchdog ran out and nothing restarts it: two more of its periods
    // bring no second loss.
    QVERIFY(!eth->watchdogActive());
    QVERIFY(settle::timersDue(2 * eth->timings().watchdogMs));
    QCOMPARE(m_count.lost, 1);

    // Reports again: the link comes back by itself.
    m_link.sim->setPushInterval(50);
    QTRY_VERIFY_WITH_TIMEOUT(eth->isConnected(), 20000);
}

void TestEthernetHandlerLink::heartbeatAnswersResumeLink()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(startLink(2, SimLink::fastTimings()));  // heartbeat every 100 ms, no reports
    EthernetHandler *eth = m_link.handler();
    m_link.connectToUnit();
    // Two watchdog periods of answered heartbeats keep the link.
    const int beats = m_link.sim->countRequests(0x71) + 2 * eth->timings().watchdogMs / eth->timings().heartbeatMs;
    QTRY_VERIFY_WITH_TIMEOUT(m_link.sim->countRequests(0x71) >= beats, 60000);
    QVERIFY(m_link.handlerHasReadAll());
    QCOMPARE(m_count.lost, 0);

    m_link.sim->faults().silent = true;
    QTRY_COMPARE_WITH_TIMEOUT(m_count.lost, 1, 20000);
    // Heartbeats keep going out while the link is down.
    const int before = m_link.sim->countRequests(0x71);
    QTRY_VERIFY_WITH_TIMEOUT(m_link.sim->countRequests(0x71) > before + 1, 20000);
    m_link.sim->faults().silent = false;
    QTRY_VERIFY_WITH_TIMEOUT(eth->isConnected(), 20000);
    QCOMPARE(m_count.lost, 1);
}

void TestEthernetHandlerLink::heartbeatCarriesState()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(startLink(2, SimLink::fastTimings()));
    HearBeatMessage_t &hb = m_link.sim->heartbeat();
    hb.setDeviceState(5);
    hb.setRunLock(1);
    hb.runControl = 0x21;
    hb.errorBits = 0x80000001u;
    hb.errorCritical = 1;
    hb.fieldbus.networkType = 0x0005;
    hb.fieldbus.moduleType = 0x0402;
    hb.fieldbus.moduleState = 3;
    hb.fieldbus.commState = 2;
    hb.fieldbus.flags = 1;
    hb.saveStatus = -7;
    hb.configModified = 1;
    hb.currentSkw[6] = -1;
    m_link.connectToUnit();
    const HearBeatMessage_t got = m_count.last;
    QCOMPARE(got.toByteArray(), hb.toByteArray());
    QCOMPARE(got.deviceState(), uint8_t(5));
    QCOMPARE(got.runLock(), uint8_t(1));
    QCOMPARE(got.fieldbus.moduleType, uint16_t(0x0402));
    QVERIFY(got.fieldbus.linkPresent());
    QCOMPARE(got.saveStatus, -7);
    QCOMPARE(got.currentSkw[6], int16_t(-1));
    QCOMPARE(m_link.handler()->lastHeartbeatSender(), kUnit);
}

void TestEthernetHandlerLink::wrongHeartbeatLengthIgnored_data()
{
    QTest::addColumn<int>("size");
    // A padded 49-byte payload is 50 on the wire, so the short case is 48.
    QTest::newRow("48 bytes") << 48;
    QTest::newRow("51 bytes, padded to 52") << 51;
}

void TestEthernetHandlerLink::wrongHeartbeatLengthIgnored()
{
    KORVANTIS_REQUIRE_TESTNET();
    QFETCH(int, size);
    QVERIFY(startLink(2, SimLink::fastTimings()));
    m_link.sim->setHandler(0x71, [size](const UnitSimRequest &, UnitSimReply &r) { r.payload = QByteArray(size, '\x01'); });
    m_link.handler()->setTargetIP(kUnit);
    QTRY_VERIFY_WITH_TIMEOUT(m_link.sim->countRequests(0x71) >= 3, 20000);
    // Their answers have been handled.
    QVERIFY(m_link.handlerHasReadAll());
    QCOMPARE(m_count.pings, 0);
    QVERIFY(!m_link.handler()->watchdogActive());
    QCOMPARE(m_count.lost, 0);
}

void TestEthernetHandlerLink::pausedLinkWatch()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(startLink(2, SimLink::fastTimings()));
    EthernetHandler *eth = m_link.handler();
    m_link.connectToUnit();

    eth->pauseLinkWatch();
    QVERIFY(!eth->watchdogActive());
    const int pings = m_count.pings;
    const int beats = m_link.sim->countRequests(0x71);
    // Heartbeats keep going out and their answers restart the watchdog, but
    // nobody hears a ping, and the state is not re-announced.
    QTRY_VERIFY_WITH_TIMEOUT(m_link.sim->countRequests(0x71) > beats, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(eth->watchdogActive(), 20000);
    eth->emitConnectionState();
    QCOMPARE(m_count.pings, pings);
    QCOMPARE(m_count.lost, 0);

    QCOMPARE(eth->resumeLinkWatch(), ERR_OK);
    QTRY_VERIFY_WITH_TIMEOUT(m_count.pings > pings, 20000);
    const int now = m_count.pings;
    eth->emitConnectionState();
    QCOMPARE(m_count.pings, now + 1);
}

void TestEthernetHandlerLink::targetSetThriceKeepsOneTimer()
{
    KORVANTIS_REQUIRE_TESTNET();
    LinkTimings t = SimLink::fastTimings();
    t.heartbeatMs = 300;
    QVERIFY(startLink(2, t));
    EthernetHandler *eth = m_link.handler();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 3; ++i)
        eth->setTargetIP(kUnit);
    // Three at once, then one per tick; tripled timers would give three per
    // tick. A busy machine can only make the ticks fewer.
    QTRY_VERIFY_WITH_TIMEOUT(m_link.sim->countRequests(0x71) >= 6, 20000);
    const int beats = m_link.sim->countRequests(0x71);
    const qint64 ticks = clock.elapsed() / t.heartbeatMs;
    QVERIFY2(beats <= 3 + ticks + 1, qPrintable(QStringLiteral("%1 in %2 ticks").arg(beats).arg(ticks)));

    // A non-IPv4 target is refused and changes nothing.
    eth->setTargetIP(QHostAddress(QStringLiteral("::1")));
    QCOMPARE(eth->targetAddress(), kUnit);

    // One watchdog expiry, one connectionLost.
    m_link.sim->faults().silent = true;
    QTRY_COMPARE_WITH_TIMEOUT(m_count.lost, 1, 20000);
    // Heartbeats for two more watchdog periods bring no second loss.
    const int later = m_link.sim->countRequests(0x71) + 2 * t.watchdogMs / t.heartbeatMs;
    QTRY_VERIFY_WITH_TIMEOUT(m_link.sim->countRequests(0x71) >= later, 60000);
    QVERIFY(!eth->watchdogActive());
    QCOMPARE(m_count.lost, 1);
}

void TestEthernetHandlerLink::disconnectAndInterfaceChange()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(startLink(2, SimLink::fastTimings()));
    EthernetHandler *eth = m_link.handler();
    Device *device = m_link.device.get();
    m_link.connectToUnit();

    // An IPv6 interface changes nothing.
    QNetworkAddressEntry v6;
    v6.setIp(QHostAddress(QStringLiteral("::1")));
    device->currentNetworkEntrychanged(v6);
    QCOMPARE(eth->targetAddress(), kUnit);
    QCOMPARE(m_count.lost, 0);

    // An IPv4 interface drops the unit first, then rebinds the socket.
    QNetworkAddressEntry v4;
    v4.setIp(QHostAddress(QStringLiteral("127.0.0.1")));
    device->currentNetworkEntrychanged(v4);
    QCOMPARE(m_count.lost, 1);
    QCOMPARE(eth->targetAddress(), QHostAddress(QHostAddress::LocalHost));
    QVERIFY(!eth->heartbeatActive());
    QVERIFY(!eth->watchdogActive());
    QTRY_COMPARE_WITH_TIMEOUT(device->udpServer()->localAddress(), QHostAddress(QHostAddress::LocalHost), 20000);
    QVERIFY(device->udpServer()->localPort() != 0);

    // The rebound socket still reaches the unit.
    m_link.connectToUnit();
    uint8_t mask = 0;
    QCOMPARE(eth->readChannelEnableMask(mask), ERR_OK);
    QCOMPARE(mask, uint8_t(0x7F));

    // Disconnecting twice reports the loss once.
    eth->disconnectFromDevice();
    eth->disconnectFromDevice();
    QCOMPARE(m_count.lost, 2);
}

void TestEthernetHandlerLink::restartComesBack()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(startLink(2, SimLink::fastTimings()));
    EthernetHandler *eth = m_link.handler();
    m_link.sim->setRestartSilence(2 * eth->timings().watchdogMs);
    m_link.connectToUnit();
    QCOMPARE(eth->restartPPU(), ERR_OK);
    QTRY_COMPARE_WITH_TIMEOUT(m_count.lost, 1, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(eth->isConnected(), 20000);
    QCOMPARE(m_count.lost, 1);
}

QTEST_GUILESS_MAIN(TestEthernetHandlerLink)
#include "tst_ethernethandler_link.moc"
