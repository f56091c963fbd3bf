// One request sequence at a time, in the main window against a slow unit
// (every answer 250 ms late, heartbeats every 100 ms): while any request
// waits for its answer, every control that would start another request is
// out of reach, no request is refused as "already waiting" (-1100), and the
// configuration read after connecting ends with every channel name.
#include <QAbstractButton>
#include <QCheckBox>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QtTest>

#include "requestlog.h"
#include "aboutdialog.h"
#include "channelenablebar.h"
#include "confighandler.h"
#include "dataacquisition.h"
#include "databasecont.h"
#include "device.h"
#include "devicenamerecord.h"
#include "ethernethandler.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "notificationbar.h"
#include "refrundialog.h"
#include "requestgate.h"
#include "testnet.h"
#include "unitsim.h"
#include "unitsimblocks.h"

namespace {

// tests/app/mainwindow takes 127.0.3.20 to 127.0.3.29.
const QHostAddress kUnit(QStringLiteral("127.0.3.24"));
constexpr int kSlowMs = 250;

// Requests the link refused because another one waited, as it logs them.
int g_refusals = 0;
QtMessageHandler g_previous = nullptr;

void countRefusals(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // The link's own note, and the message that reports it.
    if (message.contains(QLatin1String("Mutex lock error")) || message.contains(QLatin1String("already waiting"))
        || message.contains(QLatin1String("-1100")))
        ++g_refusals;
    if (g_previous)
        g_previous(type, context, message);
}

QString unitChannelName(int ch)
{
    return QStringLiteral("Bearing %1").arg(QChar('A' + ch));
}

// Every control of the window that starts a request.
const char *const kStarters[] = {
    "btnConnectToDevice", "btnRestartPPU", "btnMore",      "btnOverview",   "btnDataTab",
    "btnConfTab",         "btnLogTab",     "btngetData",   "btnreadSKWData", "btnmanRunstart",
    "chkRefRun",          "btnGetLog",     "btnReadConfig", "btnWriteConfig", "btnOpenConfig",
    "btnSaveConfig",      "btnExportDataToCsv",
};

} // namespace

class TestMainWindowOneSequence : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void connectReadsEveryChannelName();
    void everyStarterWaitsForTheOther_data();
    void everyStarterWaitsForTheOther();
    void aboutDialogWaitsOutOfReach();
    void workNoUserStartsWaitsForTheSequence_data();
    void workNoUserStartsWaitsForTheSequence();

private:
    // Watches every request the unit receives (the tool waits for its answer
    // then) and notes what of the window was in reach meanwhile; clicks it
    // as an impatient user would.
    void watchWaits();
    QStringList reachableStarters() const;
    void connectUnit(int answer);
    bool idle() const;

    std::unique_ptr<UnitSim> unit;
    MainWindow *window = nullptr;
    std::unique_ptr<BoxAnswerer> answerer;
    QMetaObject::Connection watch;
    int waitsSeen = 0;
    QStringList inReach;  // "<request>: <control>" for every lapse
};

void TestMainWindowOneSequence::initTestCase()
{
    registerMetaTypes();
    g_previous = qInstallMessageHandler(countRefusals);
    startWindowLink(1000);
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    window = new MainWindow;
    window->resize(1024, 768);
    window->show();
}

void TestMainWindowOneSequence::cleanupTestCase()
{
    delete window;
    window = nullptr;
    qInstallMessageHandler(g_previous);
}

void TestMainWindowOneSequence::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    unit = std::make_unique<UnitSim>();
    QString error;
    QVERIFY2(unit->startQuiet(kUnit, &error), qPrintable(error));
    for (int ch = 0; ch < 7; ++ch)
        unit->parameters().setValue(EthernetHandler::ParamChannelName, DeviceNameRecord(unitChannelName(ch)).toBytes(),
                                    ch);
    UnitSimBlocks *blocks = UnitSimBlocks::of(unit.get());
    QVector<int16_t> raw;
    for (int i = 0; i < 40; ++i)
        raw << int16_t(i * 3);
    for (int ch : {0, 2}) {
        blocks->setMeasurement(0, ch, raw);
        blocks->setMeasurement(5, ch, QVector<int16_t>(16, 400));
    }
    blocks->setLogRecords(30);
    unit->setDataControl(0x10);  // an idle unit: the data controls are free
    g_refusals = 0;
    waitsSeen = 0;
    inReach.clear();
}

void TestMainWindowOneSequence::cleanup()
{
    disconnect(watch);
    answerer.reset();
    unit->faults().delayMs = 0;
    Device::instance()->ethernetHandler()->disconnectFromDevice();
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    unit.reset();
}

bool TestMainWindowOneSequence::idle() const
{
    return !Device::instance()->ethernetHandler()->isWaiting() && !RequestGate::instance().isHeld()
           && !Device::instance()->confighandler()->waitingForFeedback() && window->dialogs().empty()
           && part<QWidget>(window, "pageMain")->isEnabled();
}

QStringList TestMainWindowOneSequence::reachableStarters() const
{
    QStringList reachable;
    for (const char *name : kStarters) {
        for (QWidget *w : window->findChildren<QWidget *>(QString::fromLatin1(name))) {
            if (w->isVisible() && w->isEnabled())
                reachable << QString::fromLatin1(name);
        }
    }
    return reachable;
}

void TestMainWindowOneSequence::watchWaits()
{
    watch = connect(unit.get(), &UnitSim::requestReceived, this, [this](const UnitSimRequest &q) {
        if (q.command == EthernetHandler::CmdHeartbeat)
            return;
        ++waitsSeen;
        const QString request = QStringLiteral("request 0x%1/0x%2").arg(q.command, 0, 16).arg(q.paramId, 0, 16);
        // The lock page (or the progress page) lies over the main page, or
        // the dialog that asked the unit is out of reach.
        const std::vector<QWidget *> &dialogs = window->dialogs();
        const bool covered = !dialogs.empty()
                             && (dialogs.back()->objectName() == QLatin1String("wdgRequestLock")
                                 || dialogs.back() == static_cast<QWidget *>(window->progress())
                                 || !dialogs.back()->isEnabled());
        if (!covered)
            inReach << request + QStringLiteral(": the window is not covered");
        for (const QString &name : reachableStarters())
            inReach << request + QStringLiteral(": ") + name;
        // Clicked all the same: a disabled control does nothing.
        for (const char *name : {"btngetData", "btnLogTab", "btnDataTab", "btnReadConfig", "btnWriteConfig"}) {
            for (QWidget *w : window->findChildren<QWidget *>(QString::fromLatin1(name)))
                if (w->isVisible())
                    QTest::mouseClick(w, Qt::LeftButton);
        }
    });
}

void TestMainWindowOneSequence::connectUnit(int answer)
{
    answerer = std::make_unique<BoxAnswerer>(window, QList<int>{answer});
    Device::instance()->confighandler()->setIpAddress(kUnit);
    Device::instance()->ethernetHandler()->setTargetIP(kUnit);
    QTRY_COMPARE_WITH_TIMEOUT(answerer->boxes.size(), 1, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 30000);
}

// The read after "Yes": the device name, seven channel names and the device
// configuration, each answered late, with heartbeats between them. Nothing
// else can start meanwhile, and every name arrives.
void TestMainWindowOneSequence::connectReadsEveryChannelName()
{
    Confighandler *config = Device::instance()->confighandler();
    for (int ch = 0; ch < 7; ++ch)
        config->setChannelname(QStringLiteral("Channel %1").arg(ch + 1), uint8_t(ch));
    unit->faults().delayMs = kSlowMs;
    watchWaits();
    connectUnit(1);
    disconnect(watch);
    QVERIFY(waitsSeen >= 9);
    QVERIFY2(inReach.isEmpty(), qPrintable(inReach.join(QLatin1Char('\n'))));
    QCOMPARE(g_refusals, 0);
    for (int ch = 0; ch < 7; ++ch)
        QCOMPARE(config->channelName(ch), unitChannelName(ch));
}

void TestMainWindowOneSequence::everyStarterWaitsForTheOther_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("control");
    QTest::newRow("Read Config") << int(MainWindow::PageConfig) << QStringLiteral("btnReadConfig");
    QTest::newRow("Write Config to Device") << int(MainWindow::PageConfig) << QStringLiteral("btnWriteConfig");
    QTest::newRow("Read raw input Data") << int(MainWindow::PageData) << QStringLiteral("btngetData");
    QTest::newRow("Read SKW") << int(MainWindow::PageData) << QStringLiteral("btnreadSKWData");
    QTest::newRow("timed run, its start and its stop") << int(MainWindow::PageData) << QStringLiteral("btnmanRunstart");
    QTest::newRow("reference-run mode") << int(MainWindow::PageData) << QStringLiteral("chkRefRun");
    QTest::newRow("log read of the log tab") << int(MainWindow::PageOverview) << QStringLiteral("btnLogTab");
    QTest::newRow("Get Log") << int(MainWindow::PageLog) << QStringLiteral("btnGetLog");
}

void TestMainWindowOneSequence::everyStarterWaitsForTheOther()
{
    QFETCH(int, page);
    QFETCH(QString, control);
    connectUnit(0);
    window->setcurrentIndexes(page);
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    if (page == MainWindow::PageData) {
        auto *bar = part<ChannelEnableBar>(window, "wdgGraphChnSel");
        for (int ch = 0; ch < 7; ++ch)
            bar->checkBox(ch)->setChecked(ch == 0 || ch == 2);
        part<QSpinBox>(window, "spnTimeInterval")->setValue(300);
    }
    QAbstractButton *starter = nullptr;
    for (QAbstractButton *b : window->findChildren<QAbstractButton *>(control))
        if (b->isVisible())
            starter = b;
    QVERIFY(starter);
    QTRY_VERIFY_WITH_TIMEOUT(starter->isEnabled(), 10000);
    unit->faults().delayMs = kSlowMs;
    unit->clearRequestLog();
    g_refusals = 0;
    watchWaits();
    QTest::mouseClick(starter, Qt::LeftButton);
    // A timed run stops itself after its interval, with a request of its own.
    QTRY_VERIFY_WITH_TIMEOUT(!window->dataAcquisition()->isTimedRunPending(), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 30000);
    disconnect(watch);
    QVERIFY(waitsSeen > 0);
    QVERIFY2(inReach.isEmpty(), qPrintable(inReach.join(QLatin1Char('\n'))));
    QCOMPARE(g_refusals, 0);
}

// The About dialog asks the unit for its modules: the dialog stays in sight,
// out of reach with the rest of the window until the answer is in.
void TestMainWindowOneSequence::aboutDialogWaitsOutOfReach()
{
    connectUnit(0);
    unit->faults().delayMs = kSlowMs;
    unit->clearRequestLog();
    g_refusals = 0;
    watchWaits();
    bool closed = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, window, [&] {
        auto *dialog = window->findChild<AboutDialog *>();
        if (!dialog || !dialog->isVisible() || !dialog->isEnabled() || waitsSeen == 0)
            return;
        closed = true;
        poll.stop();
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnClose")), Qt::LeftButton);
    });
    poll.start(20);
    QTimer::singleShot(0, window, [this] { window->on_actionAbout_triggered(); });
    QTRY_VERIFY_WITH_TIMEOUT(closed && window->findChild<AboutDialog *>() == nullptr, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    disconnect(watch);
    QCOMPARE(distinctRequests(unit->requestLog(), EthernetHandler::CmdProductInfo), 1);
    QVERIFY2(inReach.isEmpty(), qPrintable(inReach.join(QLatin1Char('\n'))));
    QCOMPARE(g_refusals, 0);
}

// What a heartbeat, a timer or the notification bar starts while a sequence
// waits (here the raw-input read of two channels) goes out after its last
// answer, not into the middle of it, and is not refused.
void TestMainWindowOneSequence::workNoUserStartsWaitsForTheSequence_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("command");
    QTest::newRow("a heartbeat reports a reference-run result") << "refrun" << int(EthernetHandler::CmdRefRunResult);
    QTest::newRow("the timed run's time is up") << "timed run" << int(EthernetHandler::CmdStopDataRun);
    QTest::newRow("the error reset of the notification bar") << "error reset" << int(EthernetHandler::CmdErrorReset);
}

void TestMainWindowOneSequence::workNoUserStartsWaitsForTheSequence()
{
    QFETCH(QString, what);
    QFETCH(int, command);
    connectUnit(0);
    window->setcurrentIndexes(MainWindow::PageData);
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    if (what == QLatin1String("timed run")) {
        QVERIFY(window->dataAcquisition()->startTimedRun(1));
        QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
        QVERIFY(window->dataAcquisition()->isTimedRunPending());
    }
    unit->faults().delayMs = kSlowMs;
    unit->clearRequestLog();
    g_refusals = 0;
    bool started = false;
    watch = connect(unit.get(), &UnitSim::requestReceived, this, [&](const UnitSimRequest &q) {
        if (q.command != EthernetHandler::CmdReadData || started)
            return;
        started = true;
        if (what == QLatin1String("refrun"))
            unit->heartbeat().runControl |= 0x20;
        else if (what == QLatin1String("error reset"))
            window->errorResetRequested();
    });
    // The reference-run result is shown once its request has ended (the
    // dialog waits in a loop of its own); closed unanswered.
    bool resultShown = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, window, [&] {
        RefRunDialog *dialog = window->findChild<RefRunDialog *>();
        if (!dialog || !dialog->isVisible())
            return;
        resultShown = true;
        poll.stop();
        emit dialog->DialogFinished();
    });
    poll.start(20);
    window->runDataStep(MeasurementTable::RawInput, 0x05);
    QVERIFY(started);
    QTRY_VERIFY_WITH_TIMEOUT(unit->countRequests(uint8_t(command)) > 0, 20000);
    if (what == QLatin1String("refrun"))
        QTRY_VERIFY_WITH_TIMEOUT(resultShown && window->findChild<RefRunDialog *>() == nullptr, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    unit->heartbeat().runControl &= ~0x20;
    int lastRead = -1;
    int deferred = -1;
    const QVector<UnitSimRequest> &log = unit->requestLog();
    for (int i = 0; i < log.size(); ++i) {
        if (log.at(i).command == EthernetHandler::CmdReadData)
            lastRead = i;
        else if (log.at(i).command == command && deferred < 0)
            deferred = i;
    }
    QVERIFY(lastRead >= 0);
    QVERIFY2(deferred > lastRead, qPrintable(QStringLiteral("%1 before %2").arg(deferred).arg(lastRead)));
    QCOMPARE(g_refusals, 0);
    // Both channels were read (the timed run's stop clears the view after).
    QCOMPARE(distinctRequests(unit->requestLog(), EthernetHandler::CmdReadData), 2);
}

QTEST_MAIN(TestMainWindowOneSequence)
#include "tst_mainwindow_onesequence.moc"
