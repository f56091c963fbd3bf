// The main window against the simulated unit: the offer to read the
// configuration and what "Yes" reads, failures reported and the reading
// going on, the reference-run result asked for once per ready report, the
// dialog page waiting for the unit's save feedback, and the status bar live.
#include <QLabel>
#include <atomic>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>

#include "confighandler.h"
#include "databasecont.h"
#include "device.h"
#include "ethernethandler.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "notificationbar.h"
#include "requestlog.h"
#include "testnet.h"
#include "unitsim.h"
#include "unitsimconfig.h"

namespace {

// tests/app/mainwindow takes 127.0.3.20 to 127.0.3.29 (.23 stays silent).
const QHostAddress kUnit(QStringLiteral("127.0.3.20"));

} // namespace

class TestMainWindowLink : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void yesReadsNamesAndConfiguration();
    void noReadsNothing();
    void failedChannelNamesAreReportedAndReadingGoesOn();
    void referenceRunResultOncePerReadyReport();
    void lastDialogWaitsForSaveFeedback();
    void dialogEnteredDuringTheWaitStaysUp();
    void waitForFeedbackEnds();
    void silentUnitIsReportedAndTakenWhenItAnswers();
    void answeringUnitIsNotReported();

private:
    // Points the link at the unit and answers the first heartbeat's question.
    void connectAnswering(int answer);
    // The typed reads the unit received (parameter id, index), in order.
    QList<QPair<int, int>> reads() const;
    NotificationBar *bar() { return part<NotificationBar>(window, "notifyBar"); }
    Confighandler *config() { return Device::instance()->confighandler(); }

    std::unique_ptr<UnitSim> unit;
    MainWindow *window = nullptr;
    std::unique_ptr<BoxAnswerer> answerer;
};

void TestMainWindowLink::initTestCase()
{
    registerMetaTypes();
    LinkTimings t;
    t.baseTimeoutMs = 150;
    t.heartbeatMs = 100;
    t.watchdogMs = 600;
    t.watchdogSingleCoreMs = 1200;
    Device::instance()->ethernetHandler()->setTimings(t);
    Device::instance()->startTransport();
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
}

void TestMainWindowLink::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    unit = std::make_unique<UnitSim>();
    QString error;
    QVERIFY2(unit->startQuiet(kUnit, &error), qPrintable(error));
    window = new MainWindow;
    window->show();
}

void TestMainWindowLink::cleanup()
{
    answerer.reset();
    Device::instance()->ethernetHandler()->disconnectFromDevice();
    QTRY_VERIFY(!config()->waitingForFeedback());
    delete window;
    window = nullptr;
    unit.reset();
}

void TestMainWindowLink::connectAnswering(int answer)
{
    answerer = std::make_unique<BoxAnswerer>(window, QList<int>{answer});
    config()->setIpAddress(kUnit);
    Device::instance()->ethernetHandler()->setTargetIP(kUnit);
    QTRY_COMPARE(answerer->boxes.size(), 1);
    // The question is answered inside the heartbeat's handler, which then reads.
    QTRY_VERIFY(!Device::instance()->ethernetHandler()->isWaiting());
    QTRY_VERIFY(!window->asksReadConfig());
}

QList<QPair<int, int>> TestMainWindowLink::reads() const
{
    QList<QPair<int, int>> out;
    for (const UnitSimRequest &r : withoutResends(unit->requestLog()))
        if (r.command == EthernetHandler::CmdReadParam)
            out.append({r.paramId, r.index});
    return out;
}

void TestMainWindowLink::yesReadsNamesAndConfiguration()
{
    // The test's watchdog is short; on a busy machine it may lapse, and a unit
    // reached again is rightly offered again.
    QSignalSpy lost(Device::instance()->ethernetHandler(), &EthernetHandler::connectionLost);
    connectAnswering(1);
    QCOMPARE(answerer->boxes.first().message,
             QStringLiteral("Do you want to Read the Config from the selected Device"));
    QTRY_VERIFY(reads().size() >= 9);
    const auto r = reads();
    QCOMPARE(r.at(0).first, int(EthernetHandler::ParamDeviceName));
    for (int ch = 0; ch < 7; ++ch)
        QCOMPARE(r.at(1 + ch), qMakePair(int(EthernetHandler::ParamChannelName), ch));
    QVERIFY(std::any_of(r.begin() + 8, r.end(), [](const QPair<int, int> &p) {
        return p.first == EthernetHandler::ParamConfigBlob;
    }));

    // The status bar shows the unit; the window its connected state.
    QTRY_COMPARE(part<QLabel>(window, "lblstatustxt")->text(), QStringLiteral("Connected to 127.0.3.20"));
    QVERIFY(part<QWidget>(window, "btnRestartPPU")->isEnabled());
    // Later heartbeats do not ask again.
    const int beats = unit->countRequests(EthernetHandler::CmdHeartbeat);
    QTRY_VERIFY_WITH_TIMEOUT(unit->countRequests(EthernetHandler::CmdHeartbeat) >= beats + 3, 20000);
    QCOMPARE(answerer->boxes.size(), 1 + lost.count());
}

void TestMainWindowLink::noReadsNothing()
{
    connectAnswering(0);
    const int beats = unit->countRequests(EthernetHandler::CmdHeartbeat);
    QTRY_VERIFY_WITH_TIMEOUT(unit->countRequests(EthernetHandler::CmdHeartbeat) >= beats + 3, 20000);
    QVERIFY(reads().isEmpty());
}

void TestMainWindowLink::failedChannelNamesAreReportedAndReadingGoesOn()
{
    unit->setErrorStatus(EthernetHandler::CmdReadParam, EthernetHandler::ParamChannelName, -17);
    connectAnswering(1);
    const auto blobRead = [this] {
        const auto r = reads();
        return std::any_of(r.begin(), r.end(), [](const QPair<int, int> &p) {
            return p.first == EthernetHandler::ParamConfigBlob;
        });
    };
    QTRY_VERIFY(blobRead());
    QList<int> channels;
    for (const auto &p : reads())
        if (p.first == EthernetHandler::ParamChannelName && !channels.contains(p.second))
            channels << p.second;
    QCOMPARE(channels, QList<int>({0, 1, 2, 3, 4, 5, 6}));
    // Every entry of the bar, newest first.
    QStringList entries;
    while (bar()->entryCount() > 0) {
        entries << bar()->currentEntry().text;
        bar()->on_btnConfirm_clicked();
    }
    int failures = 0;
    for (const QString &text : entries) {
        if (text.startsWith(QStringLiteral("Read Channel name failed. Error: "))) {
            QVERIFY2(text.endsWith(QStringLiteral(" Errorcode: -17")), qPrintable(text));
            ++failures;
        }
    }
    QCOMPARE(failures, 7);
}

void TestMainWindowLink::referenceRunResultOncePerReadyReport()
{
    connectAnswering(0);
    // A result without channels: nothing to show, so no dialog waits here.
    unit->refRunResult().flags = 0x80;
    const auto requests = [this] {
        return distinctRequests(unit->requestLog(), EthernetHandler::CmdRefRunResult);
    };
    // Answers to heartbeats the unit has received carry its state of then.
    const auto beatsFurther = [this](int n) {
        const int beats = unit->countRequests(EthernetHandler::CmdHeartbeat);
        return QTest::qWaitFor(
            [&] { return unit->countRequests(EthernetHandler::CmdHeartbeat) >= beats + n; }, 20000);
    };
    unit->heartbeat().runControl |= 0x20;
    QTRY_COMPARE(requests(), 1);
    QVERIFY(beatsFurther(4)); // several heartbeats with the bit still set
    QCOMPARE(requests(), 1);
    unit->heartbeat().runControl &= uint8_t(~0x20);
    QVERIFY(beatsFurther(2)); // the tool has seen the bit cleared
    unit->heartbeat().runControl |= 0x20;
    QTRY_COMPARE(requests(), 2);
}

void TestMainWindowLink::lastDialogWaitsForSaveFeedback()
{
    connectAnswering(0);
    // The unit holds its save status at 0 (no save running yet) until the
    // dialog page has been seen waiting; then the save runs to its end.
    std::atomic<bool> hold{true};
    UnitSimConfig::of(unit.get());
    const UnitSim::Handler answer = unit->handler(EthernetHandler::CmdHeartbeat);
    QVERIFY(answer);
    unit->setHandler(EthernetHandler::CmdHeartbeat, [answer, &hold](const UnitSimRequest &q, UnitSimReply &r) {
        answer(q, r);
        if (hold && r.payload.size() >= HearBeatMessage_t::kSize)
            std::fill(r.payload.begin() + 45, r.payload.begin() + 49, '\0');
    });
    QWidget *dialogPage = part<QWidget>(window, "pageDialog");
    window->setFeedbackWaitMs(10000);
    config()->setSaveFeedbackTimeout(10000);
    QWidget dialog;
    window->enterDialog(&dialog);
    config()->saveConfigOnDevice(false);
    QVERIFY(config()->waitingForFeedback());
    bool upWhileWaiting = false;
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] {
        if (hold && config()->waitingForFeedback()) {
            upWhileWaiting = dialogPage->isVisible() && !part<QWidget>(window, "pageMain")->isEnabled();
            hold = false;
        }
    });
    probe.start(20);
    window->exitDialog();
    unit->setHandler(EthernetHandler::CmdHeartbeat, answer);
    // It came back only when the unit had reported its save.
    QVERIFY(!config()->waitingForFeedback());
    QVERIFY(upWhileWaiting);
    QVERIFY(dialogPage->isHidden());
    QVERIFY(part<QWidget>(window, "pageMain")->isEnabled());
    QCOMPARE(bar()->currentEntry().text, QStringLiteral("The Config Write/Save was sucessfull"));
}

void TestMainWindowLink::dialogEnteredDuringTheWaitStaysUp()
{
    connectAnswering(0);
    window->setFeedbackWaitMs(5000);
    QWidget first;
    QWidget second;
    window->enterDialog(&first);
    // The save stays open until the second dialog has been entered.
    std::atomic<bool> hold{true};
    UnitSimConfig::of(unit.get());
    const UnitSim::Handler answer = unit->handler(EthernetHandler::CmdHeartbeat);
    unit->setHandler(EthernetHandler::CmdHeartbeat, [answer, &hold](const UnitSimRequest &q, UnitSimReply &r) {
        answer(q, r);
        if (hold && r.payload.size() >= HearBeatMessage_t::kSize)
            std::fill(r.payload.begin() + 45, r.payload.begin() + 49, '\0');
    });
    config()->setSaveFeedbackTimeout(10000);
    config()->saveConfigOnDevice(false);
    QTimer::singleShot(30, this, [&] {
        window->enterDialog(&second);
        hold = false;
    });
    window->exitDialog();
    unit->setHandler(EthernetHandler::CmdHeartbeat, answer);
    // The dialog entered meanwhile is shown, not hidden behind a disabled page.
    QCOMPARE(window->dialogs().size(), size_t(1));
    QVERIFY(part<QWidget>(window, "pageDialog")->isVisible());
    QVERIFY(!part<QWidget>(window, "pageMain")->isEnabled());
    window->exitDialog();
    QVERIFY(part<QWidget>(window, "pageDialog")->isHidden());
    QVERIFY(part<QWidget>(window, "pageMain")->isEnabled());
}

void TestMainWindowLink::waitForFeedbackEnds()
{
    connectAnswering(0);
    // The unit never reports the save running; the window waits no longer
    // than its limit, the model keeps its own deadline.
    UnitSimConfig::of(unit.get());
    const UnitSim::Handler answer = unit->handler(EthernetHandler::CmdHeartbeat);
    QVERIFY(answer);
    unit->setHandler(EthernetHandler::CmdHeartbeat, [answer](const UnitSimRequest &q, UnitSimReply &r) {
        answer(q, r);
        if (r.payload.size() >= HearBeatMessage_t::kSize)
            std::fill(r.payload.begin() + 45, r.payload.begin() + 49, '\0'); // save status 0
    });
    config()->setSaveFeedbackTimeout(3000);
    window->setFeedbackWaitMs(200);
    QWidget dialog;
    window->enterDialog(&dialog);
    config()->saveConfigOnDevice(false);
    window->exitDialog();
    QVERIFY(config()->waitingForFeedback());
    QVERIFY(part<QWidget>(window, "pageDialog")->isHidden());
    QVERIFY(part<QWidget>(window, "pageMain")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!config()->waitingForFeedback(), 20000);
    unit->setHandler(EthernetHandler::CmdHeartbeat, answer);
}

void TestMainWindowLink::silentUnitIsReportedAndTakenWhenItAnswers()
{
    // Nothing answers at this address of the folder's range (the other test
    // programs here use .26 and .29). A question asked meanwhile would mean
    // something answered: answered, so that the test fails instead of waiting.
    const QHostAddress silent(QStringLiteral("127.0.3.23"));
    answerer = std::make_unique<BoxAnswerer>(window, QList<int>{0});
    EthernetHandler *eth = Device::instance()->ethernetHandler();
    QSignalSpy reports(eth, &EthernetHandler::targetNotAnswering);
    config()->setIpAddress(silent);
    eth->setTargetIP(silent);

    // Told in the notification bar once the watchdog's time has passed
    // without a first answer.
    const QString message =
        QStringLiteral("The PPU at 127.0.3.23 does not answer. The tool keeps trying to reach it.");
    QTRY_COMPARE_WITH_TIMEOUT(bar()->currentEntry().text, message, 20000);
    QCOMPARE(bar()->currentEntry().page->objectName(), QStringLiteral("pageError"));
    QCOMPARE(part<QLabel>(window, "lblstatustxt")->text(), QStringLiteral("Not connected"));
    QVERIFY(answerer->boxes.isEmpty());
    // Still trying: heartbeats go on to that address.
    QVERIFY(eth->heartbeatActive());
    QCOMPARE(eth->targetAddress(), silent);

    // A unit that comes up there is taken with its next heartbeat answer,
    // and the silence is not reported again.
    answerer = std::make_unique<BoxAnswerer>(window, QList<int>{0});
    UnitSim late;
    QString error;
    QVERIFY2(late.startQuiet(silent, &error), qPrintable(error));
    QTRY_COMPARE(part<QLabel>(window, "lblstatustxt")->text(), QStringLiteral("Connected to 127.0.3.23"));
    QVERIFY(!eth->awaitingFirstAnswer());
    QCOMPARE(reports.count(), 1);
    eth->disconnectFromDevice();
}

void TestMainWindowLink::answeringUnitIsNotReported()
{
    EthernetHandler *eth = Device::instance()->ethernetHandler();
    QSignalSpy reports(eth, &EthernetHandler::targetNotAnswering);
    connectAnswering(0);
    // The first answer ended the wait for it: nothing can be reported now.
    QTRY_VERIFY(eth->watchdogActive());
    QVERIFY(!eth->awaitingFirstAnswer());
    QCOMPARE(reports.count(), 0);
    for (int n = 0; n < bar()->entryCount(); ++n)
        QVERIFY(!bar()->currentEntry().text.contains(QStringLiteral("does not answer")));
}

QTEST_MAIN(TestMainWindowLink)
#include "tst_mainwindow_link.moc"
