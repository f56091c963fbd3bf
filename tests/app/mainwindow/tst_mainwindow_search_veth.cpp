// The connect dialog's search in the main window, against slow simulated
// units on the veth pair of the test namespace (the search is a real
// broadcast). The search shares the single answer wait with every request:
// what falls due meanwhile (a timed run's stop, a reference-run result, the
// configuration read after connecting, an error reset) goes out after it
// and is never refused as "already waiting" (-1100). Opening the dialog
// leaves the unit: a run still going ends on the unit it was started on,
// and the measurements of the unit left are not exported as another's.
#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "channelenablebar.h"
#include "confighandler.h"
#include "connectdialog.h"
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
#include "requestlog.h"
#include "settle.h"
#include "testnet.h"
#include "unitsim.h"
#include "unitsimblocks.h"
#include "unitsimrun.h"

namespace {

constexpr int kSlowMs = 150;

// Requests the link refused because another one waited, as it logs them.
int g_refusals = 0;
QStringList g_refused;
QtMessageHandler g_previous = nullptr;

void countRefusals(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // The link's own notes, and the message that reports one.
    if (message.contains(QLatin1String("Mutex lock error")) || message.contains(QLatin1String("already waiting"))
        || message.contains(QLatin1String("-1100"))) {
        ++g_refusals;
        g_refused << message;
    }
    if (g_previous)
        g_previous(type, context, message);
}

QString channelName(const QString &unit, int ch)
{
    return QStringLiteral("%1-%2").arg(unit).arg(ch + 1);
}

} // namespace

class TestMainWindowSearchVeth : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void deferredWorkWaitsForTheSearch_data();
    void deferredWorkWaitsForTheSearch();
    void timedRunEndsOnItsUnit_data();
    void timedRunEndsOnItsUnit();
    void measurementsStayWithTheirUnit_data();
    void measurementsStayWithTheirUnit();

private:
    std::unique_ptr<UnitSim> startUnit(int n, const QString &name, QHostAddress at = QHostAddress());
    // Points the window at `unit` as a connect does and answers the
    // question to read its configuration with `answer`.
    void connectWindow(UnitSim *unit, int answer);
    bool idle() const;
    QStringList takeNotifications();
    // Clicks the connect button; `step` is called every 20 ms while the
    // dialog (or a dialog before it) is open, with the dialog when it shows
    // and whether its first search has begun and ended, until it returns
    // true. Returns once the button's slot has ended.
    bool runConnectDialog(const std::function<bool(Connectdialog *, bool searched)> &step);

    MainWindow *window = nullptr;
    std::unique_ptr<BoxAnswerer> answerer;
    std::vector<std::unique_ptr<UnitSim>> units;
    int resultDialogs = 0;
    QTimer resultCloser;
};

void TestMainWindowSearchVeth::initTestCase()
{
    registerMetaTypes();
    g_previous = qInstallMessageHandler(countRefusals);
    // The search's window and the requests' time-out: one second.
    startWindowLink(1000, 3000);
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    // A reference-run result shown is closed unanswered; counted.
    resultCloser.setInterval(20);
    connect(&resultCloser, &QTimer::timeout, this, [this] {
        if (!window)
            return;
        RefRunDialog *dialog = window->findChild<RefRunDialog *>();
        if (!dialog || !dialog->isVisible() || dialog->property("closedByTest").toBool())
            return;
        dialog->setProperty("closedByTest", true);
        ++resultDialogs;
        emit dialog->DialogFinished();
    });
    resultCloser.start();
}

void TestMainWindowSearchVeth::cleanupTestCase()
{
    qInstallMessageHandler(g_previous);
}

void TestMainWindowSearchVeth::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    window = new MainWindow;
    window->resize(1024, 768);
    window->show();
    g_refusals = 0;
    g_refused.clear();
    resultDialogs = 0;
}

void TestMainWindowSearchVeth::cleanup()
{
    answerer.reset();
    Device::instance()->ethernetHandler()->disconnectFromDevice();
    if (window)
        QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    delete window;
    window = nullptr;
    units.clear();
}

std::unique_ptr<UnitSim> TestMainWindowSearchVeth::startUnit(int n, const QString &name, QHostAddress at)
{
    auto unit = std::make_unique<UnitSim>();
    unit->setAddress(at.isNull() ? testnet::unitVethAddress(n) : at);
    unit->setDeviceName(name);
    unit->setMacAddress({0x02, 0x00, 0x00, 0x00, 0x00, uint8_t(0x10 + n)});
    unit->setDataControl(0x10);  // an idle unit: the data controls are free
    QString error;
    if (!unit->start(&error)) {
        qWarning() << error;
        return nullptr;
    }
    for (int ch = 0; ch < 7; ++ch)
        unit->parameters().setValue(EthernetHandler::ParamChannelName, DeviceNameRecord(channelName(name, ch)).toBytes(),
                                    ch);
    return unit;
}

bool TestMainWindowSearchVeth::idle() const
{
    return !Device::instance()->ethernetHandler()->isWaiting() && !RequestGate::instance().isHeld()
           && window->dialogs().empty() && part<QWidget>(window, "pageMain")->isEnabled();
}

QStringList TestMainWindowSearchVeth::takeNotifications()
{
    return takeBarTexts(part<NotificationBar>(window, "notifyBar"));
}

void TestMainWindowSearchVeth::connectWindow(UnitSim *unit, int answer)
{
    answerer = std::make_unique<BoxAnswerer>(window, QList<int>{answer});
    Device::instance()->confighandler()->setIpAddress(unit->address());
    Device::instance()->ethernetHandler()->setTargetIP(unit->address());
    QTRY_COMPARE_WITH_TIMEOUT(answerer->boxes.size(), 1, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(idle() && Device::instance()->ethernetHandler()->isConnected(), 20000);
}

bool TestMainWindowSearchVeth::runConnectDialog(const std::function<bool(Connectdialog *, bool)> &step)
{
    bool began = false;
    bool searched = false;
    bool done = false;
    QElapsedTimer since;
    since.start();
    QTimer driver;
    driver.setInterval(20);
    connect(&driver, &QTimer::timeout, window, [&] {
        auto *dialog = window->findChild<Connectdialog *>();
        if (done || !dialog || !dialog->isVisible())
            return;
        auto *refresh = dialog->findChild<QToolButton *>(QStringLiteral("btnDiscoverIPs"));
        // What the test waits for never came: the dialog goes, the test
        // fails (the click's slot waits for the dialog's end).
        if (since.hasExpired(60000)) {
            driver.stop();
            dialog->findChild<QPushButton *>(QStringLiteral("btnCancel"))->click();
            return;
        }
        if (!began && !refresh->isEnabled())
            began = true;
        if (began && refresh->isEnabled())
            searched = true;
        done = step(dialog, searched);
    });
    driver.start();
    bool ended = false;
    QTimer::singleShot(0, window, [&] {
        part<QToolButton>(window, "btnConnectToDevice")->click();
        ended = true;
    });
    (void)QTest::qWaitFor([&] { return ended; }, 90000);
    driver.stop();
    return ended && done;
}

// Work nobody clicked that falls due while the dialog searches, after a
// Connect made during that search (the unit's first heartbeat answer comes
// in during it): it goes to the unit once the search has ended.
void TestMainWindowSearchVeth::deferredWorkWaitsForTheSearch_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("the configuration read after connecting") << "read config";
    QTest::newRow("a heartbeat reports a reference-run result") << "refrun";
    QTest::newRow("the error reset of the notification bar") << "error reset";
}

void TestMainWindowSearchVeth::deferredWorkWaitsForTheSearch()
{
    QFETCH(QString, what);
    units.push_back(startUnit(0, QStringLiteral("Unit")));
    UnitSim *unit = units.back().get();
    QVERIFY(unit);
    // Connected once with nothing to report, so the report that follows is
    // news to the window.
    connectWindow(unit, 0);
    unit->faults().delayMs = kSlowMs;
    Confighandler *config = Device::instance()->confighandler();
    for (int ch = 0; ch < 7; ++ch)
        config->setChannelname(QStringLiteral("Channel %1").arg(ch + 1), uint8_t(ch));
    answerer = std::make_unique<BoxAnswerer>(window, QList<int>{what == QLatin1String("read config") ? 1 : 0});
    EthernetHandler *eth = Device::instance()->ethernetHandler();
    g_refusals = 0;

    enum class Stage { FirstSearch, Searching, Connected } stage = Stage::FirstSearch;
    const bool ran = runConnectDialog([&](Connectdialog *dialog, bool searched) {
        auto *refresh = dialog->findChild<QToolButton *>(QStringLiteral("btnDiscoverIPs"));
        switch (stage) {
        case Stage::FirstSearch:
            if (!searched)
                return false;
            dialog->findChild<QLineEdit *>(QStringLiteral("leditManIP"))->setText(unit->address().toString());
            if (what == QLatin1String("refrun"))
                unit->heartbeat().runControl |= UnitSimRun::kResultReady;
            unit->clearRequestLog();
            stage = Stage::Searching;
            // The search waits in a loop of its own: clicked from a timer.
            QTimer::singleShot(0, refresh, &QToolButton::click);
            return false;
        case Stage::Searching:
            if (refresh->isEnabled() || !eth->isWaiting())
                return false;  // the search has not begun yet
            stage = Stage::Connected;
            dialog->findChild<QPushButton *>(QStringLiteral("btnConnect"))->click();
            if (what == QLatin1String("error reset"))
                window->errorResetRequested();
            return true;
        case Stage::Connected:
            return true;
        }
        return true;
    });
    QVERIFY(ran);
    QCOMPARE(eth->targetAddress(), unit->address());

    if (what == QLatin1String("read config")) {
        QTRY_VERIFY_WITH_TIMEOUT(config->channelName(6) == channelName(QStringLiteral("Unit"), 6), 30000);
        for (int ch = 0; ch < 7; ++ch)
            QCOMPARE(config->channelName(ch), channelName(QStringLiteral("Unit"), ch));
    } else if (what == QLatin1String("refrun")) {
        QTRY_COMPARE_WITH_TIMEOUT(resultDialogs, 1, 30000);
        QCOMPARE(distinctRequests(unit->requestLog(), EthernetHandler::CmdRefRunResult), 1);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(distinctRequests(unit->requestLog(), EthernetHandler::CmdErrorReset), 1, 30000);
        for (const UnitSimRequest &r : unit->requestLog())
            if (r.command == EthernetHandler::CmdErrorReset)
                QVERIFY(!r.viaBroadcast);
    }
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 30000);
    QVERIFY2(g_refusals == 0, qPrintable(g_refused.join(QLatin1Char('\n'))));
    unit->heartbeat().runControl &= ~UnitSimRun::kResultReady;
}

// A timed run whose stop would fall due while the dialog searches: the run
// ends on the unit it was started on (its stop, and in reference-run mode
// its result read and shown), whether the dialog is then left open or
// cancelled.
void TestMainWindowSearchVeth::timedRunEndsOnItsUnit_data()
{
    QTest::addColumn<bool>("refRun");
    QTest::addColumn<bool>("cancel");
    QTest::newRow("timed run, dialog left open") << false << false;
    QTest::newRow("timed run, dialog cancelled") << false << true;
    QTest::newRow("reference run, dialog left open") << true << false;
    QTest::newRow("reference run, dialog cancelled") << true << true;
}

void TestMainWindowSearchVeth::timedRunEndsOnItsUnit()
{
    QFETCH(bool, refRun);
    QFETCH(bool, cancel);
    units.push_back(startUnit(0, QStringLiteral("Unit")));
    UnitSim *unit = units.back().get();
    QVERIFY(unit);
    connectWindow(unit, 0);
    window->setcurrentIndexes(MainWindow::PageData);
    auto *start = part<QAbstractButton>(window, "btnmanRunstart");
    auto *refRunBox = part<QCheckBox>(window, "chkRefRun");
    QTRY_VERIFY_WITH_TIMEOUT(start->isEnabled() && refRunBox->isEnabled(), 20000);
    unit->faults().delayMs = kSlowMs;
    if (refRun) {
        QTest::mouseClick(refRunBox, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(idle() && (unit->heartbeat().runControl & 0x0F) == 1 && refRunBox->isChecked(),
                                 20000);
    }
    part<QSpinBox>(window, "spnTimeInterval")->setValue(600);
    UnitSimRun *run = UnitSimRun::of(unit);
    unit->clearRequestLog();
    takeNotifications();
    g_refusals = 0;
    QTest::mouseClick(start, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(window->dataAcquisition()->isTimedRunPending() && idle(), 20000);
    QVERIFY(run->isRunning());

    // The dialog is opened at once: the run's time is up during its search.
    const bool ran = runConnectDialog([&](Connectdialog *dialog, bool searched) {
        if (!searched)
            return false;
        // Left open: what the run left to do is done before the engineer
        // answers the dialog.
        if (!cancel
            && (distinctRequests(unit->requestLog(), EthernetHandler::CmdStopDataRun) == 0
                || (refRun && resultDialogs == 0)))
            return false;
        dialog->findChild<QPushButton *>(QStringLiteral("btnCancel"))->click();
        return true;
    });
    QVERIFY(ran);
    QTRY_VERIFY_WITH_TIMEOUT(!run->isRunning(), 20000);
    QCOMPARE(run->runsStopped(), 1);
    if (refRun) {
        QTRY_COMPARE_WITH_TIMEOUT(resultDialogs, 1, 20000);
        QCOMPARE(distinctRequests(unit->requestLog(), EthernetHandler::CmdRefRunResult), 1);
    }
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    // Nothing goes out for the run once the dialog has left the unit (a
    // timer longer than the run's has fired).
    QVERIFY(settle::timersDue(800));
    QCOMPARE(distinctRequests(unit->requestLog(), EthernetHandler::CmdStopDataRun), 1);
    QCOMPARE(Device::instance()->ethernetHandler()->targetAddress(), QHostAddress(QHostAddress::LocalHost));
    const QStringList said = takeNotifications();
    for (const QString &text : said)
        QVERIFY2(!text.contains(QLatin1String("failed")), qPrintable(text));
    QVERIFY2(g_refusals == 0, qPrintable(g_refused.join(QLatin1Char('\n'))));
}

// The SKW of unit A read, then the tool goes to unit B: the data page
// holds nothing of A, and the export says there is nothing to export.
void TestMainWindowSearchVeth::measurementsStayWithTheirUnit_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("answer");  // to "Read Config" for B
    QTest::newRow("found by the search, read") << "search" << 1;
    QTest::newRow("typed address, not read") << "typed" << 0;
    QTest::newRow("another unit at A's address") << "replaced" << 0;
}

void TestMainWindowSearchVeth::measurementsStayWithTheirUnit()
{
    QFETCH(QString, how);
    QFETCH(int, answer);
    units.push_back(startUnit(0, QStringLiteral("A")));
    UnitSim *a = units.back().get();
    QVERIFY(a);
    for (int ch = 0; ch < 2; ++ch)
        UnitSimBlocks::of(a)->setMeasurement(5, ch, QVector<int16_t>(16, int16_t(100 * (ch + 1))));
    connectWindow(a, 1);
    window->setcurrentIndexes(MainWindow::PageData);
    auto *bar = part<ChannelEnableBar>(window, "wdgGraphChnSel");
    for (int ch = 0; ch < 7; ++ch)
        bar->checkBox(ch)->setChecked(ch < 2);
    auto *readSkw = part<QAbstractButton>(window, "btnreadSKWData");
    QTRY_VERIFY_WITH_TIMEOUT(readSkw->isEnabled(), 20000);
    QTest::mouseClick(readSkw, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    auto *stack = part<QStackedWidget>(window, "wdgStack");
    QCOMPARE(stack->currentWidget(), part<QWidget>(window, "wdgBarGraph"));

    // A's values export as A's.
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    int asked = 0;
    window->setCsvNameProvider([&](const QString &, const QString &) {
        ++asked;
        return folder.filePath(QStringLiteral("a.csv"));
    });
    auto *exportButton = part<QAbstractButton>(window, "btnExportDataToCsv");
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QFile file(folder.filePath(QStringLiteral("a.csv")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray aText = file.readAll();
    file.close();
    QVERIFY2(aText.contains("100;200;;;;;"), aText.constData());
    QVERIFY(file.remove());
    takeNotifications();

    std::unique_ptr<UnitSim> other;
    answerer = std::make_unique<BoxAnswerer>(window, QList<int>{answer});
    EthernetHandler *eth = Device::instance()->ethernetHandler();
    if (how == QLatin1String("replaced")) {
        const QHostAddress at = a->address();
        units.clear();
        QTRY_VERIFY_WITH_TIMEOUT(!eth->isConnected(), 20000);
        other = startUnit(1, QStringLiteral("B"), at);
    } else {
        other = startUnit(1, QStringLiteral("B"));
        QVERIFY(other);
        const bool ran = runConnectDialog([&](Connectdialog *dialog, bool searched) {
            if (!searched)
                return false;
            if (how == QLatin1String("typed")) {
                dialog->findChild<QLineEdit *>(QStringLiteral("leditManIP"))->setText(other->address().toString());
            } else {
                auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("tblFoundDevices"));
                int row = -1;
                for (int r = 0; r < table->rowCount(); ++r)
                    if (table->item(r, 1) && table->item(r, 1)->text() == other->address().toString())
                        row = r;
                if (row < 0)
                    return false;  // the search found it not yet: wait for it
                table->setCurrentCell(row, 0);
            }
            dialog->findChild<QPushButton *>(QStringLiteral("btnConnect"))->click();
            return true;
        });
        QVERIFY(ran);
    }
    QVERIFY(other);
    QTRY_VERIFY_WITH_TIMEOUT(eth->isConnected() && answerer->boxes.size() == 1 && idle(), 30000);
    QCOMPARE(eth->targetAddress(), other->address());

    // Nothing of A on the page, and nothing to export.
    QVERIFY(window->dataAcquisition()->barTable().rowCount() == 0);
    QVERIFY(window->dataAcquisition()->lineTable().rowCount() == 0);
    asked = 0;
    takeNotifications();
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QCOMPARE(asked, 0);
    QCOMPARE(takeNotifications(), QStringList{QStringLiteral("no Data to save present")});
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    units.push_back(std::move(other));
}

QTEST_MAIN(TestMainWindowSearchVeth)
#include "tst_mainwindow_search_veth.moc"
