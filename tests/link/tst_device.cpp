// Device placement of the transport and the UDP transport itself.
#include <QAbstractEventDispatcher>
#include <QSignalSpy>
#include <QTest>

#include "metatypes.h"
#include "platform.h"
#include "testnet.h"
#include "unitsimfixture.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.1.12"));

} // namespace

class TestDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerMetaTypes(); }
    void placement_data();
    void placement();
    void emptyDatagramIsNotSent();
    void datagramsArriveInOrder();
    void failedBindIsReported();
    void workerThreadRunsQtEventLoop();
};

void TestDevice::placement_data()
{
    QTest::addColumn<int>("threads");
    QTest::newRow("single core") << 1;
    QTest::newRow("worker thread") << 2;
}

void TestDevice::placement()
{
    KORVANTIS_REQUIRE_TESTNET();
    QFETCH(int, threads);
    SimLink link;
    QVERIFY(link.start(kUnit, threads, SimLink::quietTimings()));
    Device *device = link.device.get();
    if (threads == 1) {
        QCOMPARE(device->udpServer()->thread(), QThread::currentThread());
        QVERIFY(!device->workerThread()->isRunning());
    } else {
        QCOMPARE(device->udpServer()->thread(), device->workerThread());
        QVERIFY(device->workerThread()->isRunning());
    }
    QCOMPARE(device->port(), uint16_t(7755));
    link.connectToUnit();
    uint16_t debounce = 0;
    QCOMPARE(link.handler()->readDebounceTime(debounce), ERR_OK);
    QCOMPARE(debounce, uint16_t(100));
    // Destruction ends the worker thread (when there is one) and returns.
    link.device.reset();
}

void TestDevice::emptyDatagramIsNotSent()
{
    KORVANTIS_REQUIRE_TESTNET();
    UnitSim sim;
    QVERIFY(sim.startQuiet(kUnit));
    UDPServer server;
    server.runServer();
    QSignalSpy sent(&server, &UDPServer::messageSendSignal);
    server.sendPacketSlot(QByteArray(), kUnit);
    QCOMPARE(sent.count(), 0);
    const QByteArray heartbeat = buildFrame(1, 0x71, QByteArray());
    server.sendPacketSlot(heartbeat, kUnit);
    QCOMPARE(sent.count(), 1);
    QTRY_COMPARE(sim.requestLog().size(), 1);
    QCOMPARE(sim.requestLog().at(0).datagram, heartbeat);
}

void TestDevice::datagramsArriveInOrder()
{
    KORVANTIS_REQUIRE_TESTNET();
    UnitSim sim;
    QVERIFY(sim.startQuiet(kUnit));
    UDPServer server;
    server.runServer();
    server.setIPSlot(QHostAddress(QHostAddress::LocalHost), 7755);
    QVERIFY(server.isBound());
    QCOMPARE(server.localAddress(), QHostAddress(QHostAddress::LocalHost));
    QSignalSpy received(&server, &UDPServer::messageReceivedSignal);
    for (uint16_t seq = 1; seq <= 5; ++seq)
        sim.sendFrame(0x20, 0x71, seq, QByteArray(50, '\0'), QHostAddress::LocalHost, server.localPort());
    QTRY_COMPARE(received.count(), 5);
    for (int i = 0; i < 5; ++i) {
        const QByteArray d = received.at(i).at(0).toByteArray();
        QCOMPARE(int(uint8_t(d.at(0))), i + 1);
    }
}

void TestDevice::failedBindIsReported()
{
    KORVANTIS_REQUIRE_TESTNET();
    UDPServer server;
    server.runServer();
    QSignalSpy failed(&server, &UDPServer::errorIsFallen);
    // An address this host does not have.
    server.setIPSlot(QHostAddress(QStringLiteral("192.0.2.77")), 7755);
    QCOMPARE(failed.count(), 1);
    QVERIFY(!failed.at(0).at(0).toString().isEmpty());
    QVERIFY(!server.isBound());
    server.setIPSlot(QHostAddress(QHostAddress::LocalHost), 7755);
    QVERIFY(server.isBound());
    QCOMPARE(failed.count(), 1);
}

void TestDevice::workerThreadRunsQtEventLoop()
{
    // What the programs' entry does before any thread starts; the test's own
    // environment may set the variable already, so start without it.
    const QByteArray saved = qgetenv("QT_NO_THREADED_GLIB");
    const bool wasSet = qEnvironmentVariableIsSet("QT_NO_THREADED_GLIB");
    qunsetenv("QT_NO_THREADED_GLIB");
    platform::useQtEventLoopOnWorkerThreads();
    {
        Device device(nullptr, 2);
        device.startTransport();
        QTRY_VERIFY(device.workerThread()->eventDispatcher() != nullptr);
        QVERIFY(!device.workerThread()->eventDispatcher()->inherits("QEventDispatcherGlib"));
    }
    // A value the user set is kept.
    qputenv("QT_NO_THREADED_GLIB", "");
    platform::useQtEventLoopOnWorkerThreads();
    QVERIFY(qEnvironmentVariableIsSet("QT_NO_THREADED_GLIB"));
    QCOMPARE(qgetenv("QT_NO_THREADED_GLIB"), QByteArray());
    if (wasSet)
        qputenv("QT_NO_THREADED_GLIB", saved);
    else
        qunsetenv("QT_NO_THREADED_GLIB");
}

QTEST_GUILESS_MAIN(TestDevice)
#include "tst_device.moc"
