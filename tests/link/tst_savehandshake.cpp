// The save handshake on the simulated unit: opened with action 0x12,
// confirmed with 0x11, and finished by the save status of the heartbeats.
#include <QSignalSpy>
#include <QtTest>

#include "configfixture.h"
#include "testnet.h"
#include "unitsimconfig.h"
#include "unitsimfixture.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.1.152"));
const QString kSaved = QStringLiteral("The Config Write/Save was sucessfull");
const QString kFailed = QStringLiteral("The Config Write Failed");
constexpr int kWaitMs = 3000;

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
    // The service actions the unit received, in order ("12", "11").
    QStringList actions() const;
    int readsAfterConfirm() const;

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

QStringList TestSaveHandshake::actions() const
{
    QStringList out;
    for (const auto &r : m_link.sim->requestLog())
        if (r.command == 0xED)
            out << QString::fromLatin1(r.payload.left(1).toHex());
    return out;
}

int TestSaveHandshake::readsAfterConfirm() const
{
    int reads = 0;
    bool confirmed = false;
    for (const auto &r : m_link.sim->requestLog()) {
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
    QTest::qWait(300);
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
    QCOMPARE(actions(), QStringList({QStringLiteral("12"), QStringLiteral("11"), QStringLiteral("11")}));
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
    config()->saveConfigOnDevice(false);
    sim()->heartbeat().saveStatus = 0;
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
    QTest::qWait(300);
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
    config()->saveConfigOnDevice(false);
    sim()->heartbeat().saveStatus = 0;
    QTest::qWait(250);
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
