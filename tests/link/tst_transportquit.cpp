// Once the program's window is gone (the transport told to quit), nothing
// more reaches the unit, on either thread layout.
#include <QtTest>

#include "testnet.h"
#include "unitsimfixture.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.1.170"));

} // namespace

class TestTransportQuit : public QObject
{
    Q_OBJECT
private slots:
    void nothingSentAfterQuit_data();
    void nothingSentAfterQuit();
};

void TestTransportQuit::nothingSentAfterQuit_data()
{
    QTest::addColumn<int>("threads");
    QTest::newRow("worker thread") << 2;
    QTest::newRow("one core") << 1;
}

void TestTransportQuit::nothingSentAfterQuit()
{
    KORVANTIS_REQUIRE_TESTNET();
    QFETCH(int, threads);
    SimLink link;
    QVERIFY(link.start(kUnit, threads));
    link.connectToUnit();
    QVERIFY(link.device->udpServer()->isRunning());

    // As the program entry does when the window is destroyed.
    QMetaObject::invokeMethod(link.device->udpServer(), "quitServer", Qt::QueuedConnection);
    QTRY_VERIFY(!link.device->udpServer()->isRunning());
    link.sim->clearRequestLog();
    // The heartbeat timer goes on handing frames to the transport: one sent
    // now and several of the timer's.
    int handedOver = 0;
    connect(link.handler(), &EthernetHandler::sendPacketSignal, this, [&] { ++handedOver; });
    link.handler()->sendHeartbeat();
    QTRY_VERIFY_WITH_TIMEOUT(handedOver >= 4, 20000);
    QVERIFY(link.unitHasReadAll());
    QVERIFY(link.sim->requestLog().isEmpty());
}

QTEST_MAIN(TestTransportQuit)
#include "tst_transportquit.moc"
