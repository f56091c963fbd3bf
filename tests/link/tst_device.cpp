// Device placement of the transport and the UDP transport itself.
#include <QSignalSpy>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <atomic>

#include "metatypes.h"
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
    void workerEndsWhenQuitComesDuringNestedPass();
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

// A worker asked to end while one of its slots runs a nested event pass
// (the transport waits out a failed send, the loader paces its sends that
// way) ends all the same. Qt's own event dispatcher on worker threads
// loses that quit: the nested pass takes its wake-up and the worker sleeps
// on for ever, so the program would hang when it closes.
void TestDevice::workerEndsWhenQuitComesDuringNestedPass()
{
    QThread thread;
    QObject worker;
    worker.moveToThread(&thread);
    std::atomic<bool> inSlot{false};
    std::atomic<bool> quitSent{false};
    thread.start();
    QMetaObject::invokeMethod(
        &worker,
        [&] {
            inSlot = true;
            while (!quitSent)
                QThread::yieldCurrentThread();
            QElapsedTimer pass;
            pass.start();
            while (pass.elapsed() < 20)
                QCoreApplication::processEvents(QEventLoop::AllEvents);
        },
        Qt::QueuedConnection);
    QVERIFY(QTest::qWaitFor([&] { return inSlot.load(); }, 10000));
    thread.quit();
    quitSent = true;
    const bool ended = thread.wait(10000);
    // Asked again so that a failing test still ends its thread.
    for (int i = 0; i < 100 && !thread.wait(100); ++i)
        thread.quit();
    QVERIFY2(ended, "the worker slept on after its quit");
}

QTEST_GUILESS_MAIN(TestDevice)
#include "tst_device.moc"
