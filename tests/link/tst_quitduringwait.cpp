// The program ending while a request waits on a silent unit (its main
// window closed): the wait ends at once and nothing is resent afterwards.
#include <QtTest>

#include "settle.h"
#include "testnet.h"
#include "unitsimfixture.h"

class TestQuitDuringWait : public QObject
{
    Q_OBJECT
private slots:
    void programEndsDuringWait();
};

void TestQuitDuringWait::programEndsDuringWait()
{
    KORVANTIS_REQUIRE_TESTNET();
    SimLink link;
    QVERIFY(link.start(QHostAddress(QStringLiteral("127.0.1.160")), 2, SimLink::quietTimings()));
    link.connectToUnit();
    link.sim->faults().silent = true;
    link.sim->clearRequestLog();

    LinkTimings slow = SimLink::quietTimings();
    slow.baseTimeoutMs = 1000;
    link.handler()->setTimings(slow);
    errorCode_e result = ERR_OK;
    QTimer::singleShot(0, link.handler(), [&] {
        ProductInfoRecord info;
        result = link.handler()->readProductInfo(&info);
    });
    // As the last window closing does: quit while the request waits.
    connect(link.sim.get(), &UnitSim::requestReceived, qApp, [] { QCoreApplication::quit(); });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, qApp, &QCoreApplication::quit);
    failsafe.start(20000);
    QCoreApplication::exec();
    QVERIFY2(failsafe.isActive(), "the event loop did not end");

    // The read has returned: whatever it sent is on its way or arrived.
    QVERIFY(result != ERR_OK);
    QVERIFY(link.unitHasReadAll());
    QCOMPARE(requestsOf(*link.sim, 0xE0).size(), 1);
    // Nor does anything left behind resend once the first attempt's time-out
    // has passed.
    QVERIFY(settle::timersDue(slow.baseTimeoutMs));
    QVERIFY(link.unitHasReadAll());
    QCOMPARE(requestsOf(*link.sim, 0xE0).size(), 1);
}

QTEST_MAIN(TestQuitDuringWait)
#include "tst_quitduringwait.moc"
