// The save handshake on the simulated unit: opened with action 0x12,
// confirmed with 0x11, and finished by the save status of the heartbeats.
#include <QSignalSpy>
#include <QtTest>

#include "configfixture.h"
#include "requestlog.h"
#include "testnet.h"
#include "unitsimconfig.h"
#include "unitsimfixture.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.1.152"));
const QString kSaved = QStringLiteral("The Config Write/Save was sucessfull");
const QString kFailed = QStringLiteral("The Config Write Failed");
constexpr int kWaitMs = 20000;

} // namespace

class TestSaveHandshake : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void success();
    void rereadAfterSave_data();
    void rereadAfterSave();
    void negativeFinalStatus_data();
    void negativeFinalStatus();
    void negativeReportWhileConfirming();
    void unitGoesSilent();
    void unitNeverFinishes();
    void openFails();
    void confirmFails();
    void notConnected();
    void newSaveReplacesPendingOne();
    void oneStepAtATime();
    void saveResultReporter();

private:
    UnitSim *sim() { return m_link.sim.get(); }
    UnitSimConfig *unitConfig() { return UnitSimConfig::of(m_link.sim.get()); }
    Confighandler *config() { return m_link.device->confighandler(); }
    // The service actions the unit received, in order ("12", "11"); a
    // request sent again for a late answer counts once unless asked for.
    QStringList actions(bool withResends = false) const;
    int readsAfterConfirm() const;
    // Lets the handshake see n more heartbeat exchanges: what would follow
    // from one has had its turn.
    void waitForHeartbeats(int n);

    SimLink m_link;
    std::unique_ptr<MessageLog> m_log;
};

void TestSaveHandshake::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(m_link.start(kUnit, 2, SimLink::fastTimings()));
    // As the main window does: every heartbeat answer drives the handshake.
    QObject::connect(m_link.handler(), &EthernetHandler::connectionPing, config(),
                     &Confighandler::connectionsuccesfull);
    m_link.connectToUnit();
    m_log = std::make_unique<MessageLog>(*config());
    sim()->clearRequestLog();
}

void TestSaveHandshake::cleanup()
{
    m_log.reset();
    m_link.device.reset();
    m_link.sim.reset();
}

QStringList TestSaveHandshake::actions(bool withResends) const
{
    QStringList out;
    const QVector<UnitSimRequest> log =
        withResends ? m_link.sim->requestLog() : withoutResends(m_link.sim->requestLog());
    for (const auto &r : log)
        if (r.command == 0xED)
            out << QString::fromLatin1(r.payload.left(1).toHex());
    return out;
}

void TestSaveHandshake::waitForHeartbeats(int n)
{
    const int beats = sim()->countRequests(0x71);
    QTRY_VERIFY_WITH_TIMEOUT(sim()->countRequests(0x71) >= beats + n, kWaitMs);
}

int TestSaveHandshake::readsAfterConfirm() const
{
    int reads = 0;
    bool confirmed = false;
    for (const auto &r : withoutResends(m_link.sim->requestLog())) {
        if (r.command == 0xED && r.payload.startsWith('\x11'))
            confirmed = true;
        else if (confirmed && r.command == 0xE1)
            ++reads;
    }
    return reads;
}

void TestSaveHandshake::success()
{
    config()->saveConfigOnDevice(false);
    QVERIFY(config()->waitingForFeedback());
    QTRY_COMPARE_WITH_TIMEOUT(m_log->finished, 1, kWaitMs);
    QCOMPARE(m_log->successes, QStringList{kSaved});
    QVERIFY(m_log->errors.isEmpty());
    QVERIFY(m_log->questions.isEmpty());
    QVERIFY(!config()->waitingForFeedback());
    QCOMPARE(actions(), QStringList({QStringLiteral("12"), QStringLiteral("11")}));
    QCOMPARE(readsAfterConfirm(), 0);
}

void TestSaveHandshake::rereadAfterSave_data()
{
    QTest::addColumn<bool>("reread");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");  // to the "Modified Config" question
    QTest::addColumn<int>("reads");

    QTest::newRow("asked to re-read") << true << false << -1 << 34;
    QTest::newRow("modified, Yes") << false << true << 1 << 34;
    QTest::newRow("modified, No") << false << true << 0 << 0;
    QTest::newRow("modified, No, but asked to re-read") << true << true << 0 << 34;
}

void TestSaveHandshake::rereadAfterSave()
{
    QFETCH(bool, reread);
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(int, reads);

    unitConfig()->setConfigModified(modified);
    m_log->answers << answer;
    QCOMPARE(config()->setDevicename(QStringLiteral("before")), ERR_OK);
    config()->saveConfigOnDevice(reread);
    QTRY_COMPARE_WITH_TIMEOUT(m_log->finished, 1, kWaitMs);
    QCOMPARE(m_log->successes, QStringList{kSaved});
    QCOMPARE(m_log->questions.size(), modified ? 1 : 0);
    if (modified) {
        const auto &q = m_log->questions.first();
        QCOMPARE(q.title, QStringLiteral("Modified Config"));
        QCOMPARE(q.buttons, QStringList({QStringLiteral("No"), QStringLiteral("Yes")}));
        QCOMPARE(q.kind, 1);
        QCOMPARE(q.text, QStringLiteral("The Config was modified from the PPU! Do you want to refresh the Config from "
                                        "the selected Device"));
    }
    // The re-read ran before the end was announced.
    QCOMPARE(readsAfterConfirm(), reads);
    QCOMPARE(config()->deviceName() == QStringLiteral("before"), reads == 0);
}

void TestSaveHandshake::negativeFinalStatus_data()
{
    QTest::addColumn<int>("reports");  // heartbeats carrying the failure before 0 returns
    QTest::newRow("stays negative") << -1;
    QTest::newRow("negative once, then 0") << 1;
}

void TestSaveHandshake::negativeFinalStatus()
{
    QFETCH(int, reports);
    unitConfig()->setFinalStatus(-40);
    unitConfig()->setFinalStatusReports(reports);
    unitConfig()->setConfigModified(true);

    config()->saveConfigOnDevice(true);
    QTRY_COMPARE_WITH_TIMEOUT(m_log->finished, 1, kWaitMs);
    QCOMPARE(m_log->errors, QStringList{kFailed});
    QVERIFY(m_log->successes.isEmpty());
    QVERIFY(m_log->questions.isEmpty());
    QCOMPARE(readsAfterConfirm(), 0);
    QVERIFY(!config()->waitingForFeedback());
    // Nothing more follows.
    waitForHeartbeats(3);
    QCOMPARE(m_log->finished, 1);
}

void TestSaveHandshake::negativeReportWhileConfirming()
{
    // The answer to the confirmation is lost. While the tool waits to ask
    // again, the unit reports the failure a few times and 0 after that; the
    // failure still stands.
    LinkTimings t = m_link.handler()->timings();
    t.baseTimeoutMs = 60;  // the confirmation waits ten times this
    m_link.handler()->setTimings(t);
    unitConfig()->setFinalStatus(-40);
    unitConfig()->setFinalStatusReports(2);
    const UnitSim::Handler inner = sim()->handler(0xED);
    auto dropped = std::make_shared<bool>(false);
    UnitSim *unit = sim();
    sim()->setHandler(0xED, [inner, dropped, unit](const UnitSimRequest &q, UnitSimReply &r) {
        inner(q, r);
        if (!*dropped && q.payload.startsWith('\x11')) {
            *dropped = true;
            unit->faults().dropAnswers = 1;
        }
    });

    config()->saveConfigOnDevice(false);
    QTRY_COMPARE_WITH_TIMEOUT(m_log->finished, 1, kWaitMs);
    QCOMPARE(m_log->errors, QStringList{kFailed});
    QVERIFY(m_log->successes.isEmpty());
    QCOMPARE(actions(true), QStringList({QStringLiteral("12"), QStringLiteral("11"), QStringLiteral("11")}));
    QCOMPARE(unitConfig()->savesConfirmed(), 1);
}

void TestSaveHandshake::unitGoesSilent()
{
    config()->saveConfigOnDevice(false);
    QVERIFY(config()->waitingForFeedback());
    sim()->faults().silent = true;
    QSignalSpy lost(m_link.handler(), &EthernetHandler::connectionLost);
    QTRY_COMPARE_WITH_TIMEOUT(m_log->finished, 1, kWaitMs);
    QCOMPARE(lost.count(), 1);
    QCOMPARE(m_log->errors, QStringList{kFailed});
    QVERIFY(!config()->waitingForFeedback());

    // Once the unit is back, the next save starts from the beginning.
    sim()->faults().silent = false;
    QTRY_VERIFY_WITH_TIMEOUT(m_link.handler()->isConnected(), kWaitMs);
    m_log->clear();
    sim()->clearRequestLog();
    config()->saveConfigOnDevice(false);
    QTRY_COMPARE_WITH_TIMEOUT(m_log->finished, 1, kWaitMs);
    QCOMPARE(m_log->successes, QStringList{kSaved});
    QCOMPARE(actions(), QStringList({QStringLiteral("12"), QStringLiteral("11")}));
}

void TestSaveHandshake::unitNeverFinishes()
{
    // The unit answers its heartbeats but never reports the save running.
    config()->setSaveFeedbackTimeout(400);
    // Set as the save is opened, so that no heartbeat answer in between
    // reports it running.
    const UnitSim::Handler inner = sim()->handler(0xED);
    UnitSim *unit = sim();
    sim()->setHandler(0xED, [inner, unit](const UnitSimRequest &q, UnitSimReply &r) {
        inner(q, r);
        unit->heartbeat().saveStatus = 0;
    });
    config()->saveConfigOnDevice(false);
    QTRY_COMPARE_WITH_TIMEOUT(m_log->finished, 1, kWaitMs);
    QCOMPARE(m_log->errors, QStringList{kFailed});
    QVERIFY(!config()->waitingForFeedback());
    QCOMPARE(actions(), QStringList{QStringLiteral("12")});
}

void TestSaveHandshake::openFails()
{
    sim()->setErrorStatus(0xED, -1, -17);
    config()->saveConfigOnDevice(false);
    QCOMPARE(m_log->errors, QStringList{QStringLiteral("The Config Write init Failed")});
    QCOMPARE(m_log->finished, 1);
    QVERIFY(!config()->waitingForFeedback());
    waitForHeartbeats(3);
    QCOMPARE(actions(), QStringList{QStringLiteral("12")});
}

void TestSaveHandshake::confirmFails()
{
    config()->saveConfigOnDevice(false);
    sim()->setErrorStatus(0xED, -1, -5);
    QTRY_COMPARE_WITH_TIMEOUT(m_log->finished, 1, kWaitMs);
    QCOMPARE(m_log->errors, QStringList{kFailed});
    QVERIFY(m_log->successes.isEmpty());
    QCOMPARE(actions(), QStringList({QStringLiteral("12"), QStringLiteral("11")}));
}

void TestSaveHandshake::notConnected()
{
    m_link.handler()->disconnectFromDevice();
    QVERIFY(!m_link.handler()->isConnected());
    config()->saveConfigOnDevice(false);
    QCOMPARE(m_log->errors, QStringList{QStringLiteral("Not Connected to Device. Couldn't save Config to device")});
    QCOMPARE(m_log->finished, 1);
    QVERIFY(!config()->waitingForFeedback());
    QVERIFY(actions().isEmpty());
}

void TestSaveHandshake::newSaveReplacesPendingOne()
{
    // A unit that never confirms the first save keeps it pending...
    sim()->faults().silent = false;
    config()->setSaveFeedbackTimeout(60000);
    // The first save is never reported running (set as it is opened, so no
    // heartbeat answer in between tells otherwise).
    const UnitSim::Handler inner = sim()->handler(0xED);
    UnitSim *unit = sim();
    auto opens = std::make_shared<int>(0);
    sim()->setHandler(0xED, [inner, unit, opens](const UnitSimRequest &q, UnitSimReply &r) {
        inner(q, r);
        if (q.payload.startsWith('\x12') && ++*opens == 1)
            unit->heartbeat().saveStatus = 0;
    });
    config()->saveConfigOnDevice(false);
    waitForHeartbeats(3);
    QCOMPARE(m_log->finished, 0);
    // ... until the next save: the first one is announced as over, the new
    // one runs from the start.
    config()->saveConfigOnDevice(false);
    QCOMPARE(m_log->finished, 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_log->finished, 2, kWaitMs);
    QCOMPARE(m_log->successes, QStringList{kSaved});
    QVERIFY(m_log->errors.isEmpty());
    QCOMPARE(actions(), QStringList({QStringLiteral("12"), QStringLiteral("12"), QStringLiteral("11")}));
}

void TestSaveHandshake::oneStepAtATime()
{
    // Answers arrive late, so heartbeats come in while the confirmation
    // waits; none of them may start a second one.
    config()->saveConfigOnDevice(false);
    sim()->faults().delayMs = 120;
    QTRY_COMPARE_WITH_TIMEOUT(m_log->finished, 1, kWaitMs);
    QCOMPARE(m_log->successes, QStringList{kSaved});
    QCOMPARE(actions(), QStringList({QStringLiteral("12"), QStringLiteral("11")}));
    QCOMPARE(unitConfig()->savesConfirmed(), 1);
}

void TestSaveHandshake::saveResultReporter()
{
    config()->reportSaveResult(-3);
    config()->reportSaveResult(0);
    config()->reportSaveResult(2);
    QCOMPARE(m_log->errors, QStringList{QStringLiteral("The Config Save Failed")});
    QCOMPARE(m_log->successes, QStringList({QStringLiteral("The Config Save was successfull"),
                                            QStringLiteral("The Config Save was successfull")}));
}

QTEST_GUILESS_MAIN(TestSaveHandshake)
#include "tst_savehandshake.moc"
