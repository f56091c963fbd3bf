#include <QSignalSpy>
#include <QtTest>

#include "requestlog.h"
#include "settle.h"
#include "confighandler.h"
#include "dataacquisition.h"
#include "testnet.h"
#include "unitsimblocks.h"
#include "unitsimfixture.h"
#include "unitsimrun.h"

namespace {
const QHostAddress kUnit(QStringLiteral("127.0.9.12"));
}

// Timed measurement runs and the reference-run mode against the simulated
// unit: what the unit is told, what its heartbeat shows and what the run
// leaves to read.
class TestTimedRun : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void runStopsItselfOnce();
    void referenceRunEndsWithAResult();
    void refusedStartIsReported();
    void runWithoutDataLeavesNothingToRead();

private:
    UnitSimRun *run() { return UnitSimRun::of(m_link.sim.get()); }

    SimLink m_link;
    std::unique_ptr<DataAcquisition> m_acq;
};

void TestTimedRun::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(m_link.start(kUnit, 2, SimLink::quietTimings()));
    m_link.connectToUnit();
    m_link.sim->clearRequestLog();
    m_acq = std::make_unique<DataAcquisition>(m_link.handler(), m_link.device->confighandler());
}

void TestTimedRun::cleanup()
{
    m_acq.reset();
    m_link.device.reset();
    m_link.sim.reset();
}

void TestTimedRun::runStopsItselfOnce()
{
    UnitSimBlocks::of(m_link.sim.get())->clearMeasurements();
    QVERIFY(m_acq->startTimedRun(300));
    QVERIFY(m_acq->startTimedRun(300));  // pressed twice
    QVERIFY(run()->isRunning());
    QCOMPARE(m_link.sim->heartbeat().runControl & UnitSimRun::kManualRunAllowed, 0);
    QCOMPARE(m_link.sim->heartbeat().dataControl, UnitSimRun::kDataBusy);
    QVERIFY(m_acq->isTimedRunPending());

    QTRY_VERIFY_WITH_TIMEOUT(!run()->isRunning(), 20000);
    // No second stop follows: a timer of longer than the run's has fired
    // (and every timer due before it), and what went out has reached the
    // unit. Each start and stop is counted once, however often it was sent.
    QVERIFY(settle::timersDue(400));
    QVERIFY(m_link.unitHasReadAll());
    QCOMPARE(withoutResends(requestsOf(*m_link.sim, 0x23)).size(), 2);
    QCOMPARE(withoutResends(requestsOf(*m_link.sim, 0x26)).size(), 1);
    QCOMPARE(m_link.sim->heartbeat().dataControl, UnitSimRun::kDataReady);
    QVERIFY(m_link.sim->heartbeat().runControl & UnitSimRun::kManualRunAllowed);
    QCOMPARE(m_link.sim->heartbeat().runControl & UnitSimRun::kResultReady, 0);
    QCOMPARE(m_acq->currentDataStep(), MeasurementTable::NoStep);
    // The run left data behind.
    QVERIFY(m_acq->getData(MeasurementTable::RawInput, 0x01));
    QVERIFY(m_acq->lineTable().rowCount() > 0);
}

void TestTimedRun::referenceRunEndsWithAResult()
{
    QVERIFY(m_acq->setRefRunMode(true));
    QCOMPARE(m_link.sim->heartbeat().runControl & 0x0F, 1);
    QCOMPARE(requestsOf(*m_link.sim, 0x22).constLast().payload.at(0), char(1));
    m_link.sim->refRunResult().flags = 0x80 | 0x05;
    QVERIFY(m_acq->startTimedRun(300));
    QTRY_VERIFY_WITH_TIMEOUT(m_link.sim->heartbeat().runControl & UnitSimRun::kResultReady, 20000);

    // The tool answers the ready bit with a result request.
    uint8_t received = 0;
    connect(m_link.handler(), &EthernetHandler::RefRunResultreceived, this,
            [&](ReferenceRunResult_t &r) { received = r.flags; });
    QCOMPARE(m_link.handler()->requestRefRunResult(), ERR_OK);
    QCOMPARE(received, uint8_t(0x85));

    QVERIFY(m_acq->setRefRunMode(false));
    QCOMPARE(m_link.sim->heartbeat().runControl & 0x0F, 0);
}

void TestTimedRun::refusedStartIsReported()
{
    // A stop without a run changes nothing on the unit.
    QCOMPARE(m_link.handler()->stopDataRun(), ERR_OK);
    QCOMPARE(run()->runsStopped(), 0);
    QCOMPARE(m_link.sim->heartbeat().dataControl, uint8_t(0x11));

    m_link.sim->setErrorStatus(0x23, -1, -5);
    m_link.sim->setErrorStatus(0x22, -1, -5);
    QSignalSpy failed(m_acq.get(), &DataAcquisition::failed);
    QVERIFY(!m_acq->startTimedRun(300));
    QVERIFY(!m_acq->isTimedRunPending());
    QVERIFY(!m_acq->setRefRunMode(true));
    QCOMPARE(failed.count(), 2);
    QVERIFY(failed.at(0).at(0).toString().startsWith(QStringLiteral("Data acquisition Start failed. Error: ")));
    QVERIFY(failed.at(0).at(0).toString().endsWith(QStringLiteral("Errorcode: -5")));
    QVERIFY(failed.at(1).at(0).toString().startsWith(QStringLiteral("Change Reference Run State failed. Error: ")));
}

void TestTimedRun::runWithoutDataLeavesNothingToRead()
{
    run()->setLeavesData(false);
    QVERIFY(m_acq->startTimedRun(300));
    QTRY_VERIFY_WITH_TIMEOUT(run()->runsStopped() == 1, 20000);
    QSignalSpy failed(m_acq.get(), &DataAcquisition::failed);
    QVERIFY(!m_acq->getData(MeasurementTable::RawInput, 0x7F));
    QCOMPARE(failed.count(), 1);
}

QTEST_MAIN(TestTimedRun)
#include "tst_timedrun.moc"
