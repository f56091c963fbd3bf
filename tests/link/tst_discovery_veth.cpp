// Discovery and the network reset broadcast over the veth pair of the test
// namespace, by real broadcast.
#include <QProcess>
#include <algorithm>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "requestgate.h"
#include "requestlog.h"
#include "metatypes.h"
#include "testnet.h"
#include "unitsimfixture.h"

class TestDiscoveryVeth : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void twoUnitsAnswer();
    void unitProgramAnswersToo();
    void noUnitGivesInvalidValue();
    void networkReset();
    void searchHoldsTheGate();

private:
    // The tool on 198.18.0.1 and `units` in-process units on 198.18.0.2...
    void startTool();
    void startUnits(int units);
    MG_Discover_Request_t request() const;

    std::unique_ptr<Device> m_device;
    std::vector<std::unique_ptr<UnitSim>> m_units;
};

void TestDiscoveryVeth::initTestCase()
{
    registerMetaTypes();
}

void TestDiscoveryVeth::cleanup()
{
    m_device.reset();
    m_units.clear();
}

void TestDiscoveryVeth::startTool()
{
    m_device = std::make_unique<Device>(nullptr, 2);
    LinkTimings t = SimLink::fastTimings();
    t.baseTimeoutMs = 400;  // the discovery window
    m_device->ethernetHandler()->setTimings(t);
    m_device->startTransport();
    QNetworkAddressEntry entry;
    entry.setIp(testnet::toolVethAddress());
    m_device->currentNetworkEntrychanged(entry);
    QTRY_COMPARE(m_device->udpServer()->localAddress(), testnet::toolVethAddress());
}

void TestDiscoveryVeth::startUnits(int units)
{
    for (int n = 0; n < units; ++n) {
        auto sim = std::make_unique<UnitSim>();
        sim->setAddress(testnet::unitVethAddress(n));
        sim->setPushInterval(0);
        QString error;
        QVERIFY2(sim->start(&error), qPrintable(error));
        m_units.push_back(std::move(sim));
    }
}

MG_Discover_Request_t TestDiscoveryVeth::request() const
{
    return MG_Discover_Request_t::make(m_device->udpServer()->localAddress(),
                                       m_device->confighandler()->getSubnetMask(),
                                       m_device->udpServer()->localPort());
}

void TestDiscoveryVeth::twoUnitsAnswer()
{
    KORVANTIS_REQUIRE_TESTNET();
    startUnits(2);
    startTool();
    EthernetHandler *eth = m_device->ethernetHandler();
    QSignalSpy finished(eth, &EthernetHandler::finishedDiscoverdata);
    QCOMPARE(eth->mgGetMGDiscover(request()), ERR_OK);
    QCOMPARE(finished.count(), 1);

    std::vector<DiscoveredDevice> list;
    eth->getDiscoverList(list);
    QCOMPARE(int(list.size()), 2);
    QSet<QString> addresses;
    for (const DiscoveredDevice &d : list) {
        addresses.insert(d.ipAddress().toString());
        const UnitSim *unit = d.ipAddress() == m_units[0]->address() ? m_units[0].get() : m_units[1].get();
        QCOMPARE(d.macAddress(), unit->macAddress());
        QCOMPARE(d.deviceName(), QStringLiteral("Korvantis PPU %1").arg(unit->address().toIPv4Address() & 0xFF));
        QCOMPARE(d.subnetMask(), QHostAddress(QStringLiteral("255.255.255.0")));
    }
    QCOMPARE(addresses, (QSet<QString>{QStringLiteral("198.18.0.2"), QStringLiteral("198.18.0.3")}));

    // The request on the wire: magic, the tool's address and mask, its port.
    const auto sent = requestsOf(*m_units[0], 0xD1);
    QCOMPARE(sent.size(), 1);
    QVERIFY(sent.at(0).viaBroadcast);
    QCOMPARE(sent.at(0).payload.left(12).toHex(), QByteArray("1eabdcbac6120001ffffff00"));
    // The broadcast flag is gone: the handler is back to its unit-only filter.
    QVERIFY(!eth->isWaiting());
}

void TestDiscoveryVeth::unitProgramAnswersToo()
{
    KORVANTIS_REQUIRE_TESTNET();
    // One unit in this process, one as the KorvantisUnitSim program.
    startUnits(1);
    const QString program = testnet::binDir() + QStringLiteral("/KorvantisUnitSim");
    if (!QFile::exists(program))
        QSKIP("KorvantisUnitSim is not built");
    QProcess unit;
    unit.setProgram(program);
    unit.setArguments({QStringLiteral("--address"), testnet::unitVethAddress(1).toString(),
                       QStringLiteral("--push-interval"), QStringLiteral("0")});
    unit.start();
    QVERIFY(unit.waitForReadyRead(5000));
    QVERIFY(unit.readAllStandardOutput().contains("listening"));

    startTool();
    EthernetHandler *eth = m_device->ethernetHandler();
    QCOMPARE(eth->mgGetMGDiscover(request()), ERR_OK);
    std::vector<DiscoveredDevice> list;
    eth->getDiscoverList(list);
    QSet<QString> addresses;
    for (const DiscoveredDevice &d : list)
        addresses.insert(d.ipAddress().toString());
    QCOMPARE(int(list.size()), 2);
    QCOMPARE(addresses, (QSet<QString>{QStringLiteral("198.18.0.2"), QStringLiteral("198.18.0.3")}));
    unit.kill();
    unit.waitForFinished();
}

void TestDiscoveryVeth::noUnitGivesInvalidValue()
{
    KORVANTIS_REQUIRE_TESTNET();
    startTool();
    EthernetHandler *eth = m_device->ethernetHandler();
    QSignalSpy finished(eth, &EthernetHandler::finishedDiscoverdata);
    QCOMPARE(eth->mgGetMGDiscover(request()), ERR_INVALID_VALUE);
    QCOMPARE(finished.count(), 0);
    std::vector<DiscoveredDevice> list(3);
    eth->getDiscoverList(list);
    QVERIFY(list.empty());
}

void TestDiscoveryVeth::networkReset()
{
    KORVANTIS_REQUIRE_TESTNET();
    startUnits(2);
    startTool();
    EthernetHandler *eth = m_device->ethernetHandler();
    UnitSim *target = m_units[1].get();

    BCAST_NET_CONFIG config;
    config.mac = target->macAddress();
    config.setIp(QHostAddress(QStringLiteral("198.18.0.42")));
    config.setMask(QHostAddress(QStringLiteral("255.255.0.0")));
    QCOMPARE(eth->resetNetworkSettings(config, BCAST_NET_CONFIG::UseGivenValues), ERR_OK);
    QCOMPARE(target->parameters().ipAddress(), QHostAddress(QStringLiteral("198.18.0.42")));
    QCOMPARE(target->parameters().netmask(), QHostAddress(QStringLiteral("255.255.0.0")));
    // The other unit heard it (once, or more if the answer came late) and
    // kept its settings.
    QCOMPARE(withoutResends(requestsOf(*m_units[0], 0xDF)).size(), 1);
    QCOMPARE(m_units[0]->parameters().ipAddress(), m_units[0]->address());

    QCOMPARE(eth->resetNetworkSettings(config, BCAST_NET_CONFIG::ResetToDefaults), ERR_OK);
    QCOMPARE(target->parameters().ipAddress(), target->address());
    const auto sent = requestsOf(*target, 0xDF);
    QCOMPARE(sent.last().payload.mid(6, 2).toHex(), QByteArray("0100"));

    // Nobody has this MAC: three attempts of the same frame, then a
    // time-out.
    config.mac = {{0x0e, 0, 0, 0, 0, 1}};
    QCOMPARE(eth->resetNetworkSettings(config, BCAST_NET_CONFIG::ResetToDefaults), ERR_TIMEOUT);
    const auto all = requestsOf(*target, 0xDF);
    QCOMPARE(withoutResends(all).size(), 3);
    QCOMPARE(std::count_if(all.cbegin(), all.cend(),
                           [&](const UnitSimRequest &r) { return r.datagram == all.last().datagram; }),
             3);
}

// Work that waits for a free gate and falls due during a search runs after
// it, outside its answer wait; the search does not lock the window (the
// connect dialog over it stays in use).
void TestDiscoveryVeth::searchHoldsTheGate()
{
    KORVANTIS_REQUIRE_TESTNET();
    startUnits(1);
    startTool();
    EthernetHandler *eth = m_device->ethernetHandler();
    RequestGate &gate = RequestGate::instance();
    QSignalSpy locks(&gate, &RequestGate::heldChanged);
    bool heldMeanwhile = false;
    bool ran = false;
    bool ranInsideTheSearch = false;
    QObject context;
    QTimer::singleShot(0, &context, [&] {
        heldMeanwhile = gate.isHeld();
        gate.whenFree(&context, [&] {
            ran = true;
            ranInsideTheSearch = eth->isWaiting();
        });
    });
    QCOMPARE(eth->mgGetMGDiscover(request()), ERR_OK);
    QVERIFY(heldMeanwhile);
    QVERIFY(!ran);
    QVERIFY(!gate.isHeld());
    QTRY_VERIFY(ran);
    QVERIFY(!ranInsideTheSearch);
    QCOMPARE(locks.count(), 0);
}

QTEST_GUILESS_MAIN(TestDiscoveryVeth)
#include "tst_discovery_veth.moc"
