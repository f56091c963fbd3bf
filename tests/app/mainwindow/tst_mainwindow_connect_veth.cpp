// Connecting from the main window while the connect dialog's search runs,
// against a simulated unit on the veth pair of the test namespace: the unit
// is shown connected from its first heartbeat answer, not a heartbeat period
// later.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include "connectdialog.h"
#include "databasecont.h"
#include "device.h"
#include "ethernethandler.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "testnet.h"
#include "unitsim.h"

class TestMainWindowConnectVeth : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void connectDuringSearchTakesFirstAnswer();
};

void TestMainWindowConnectVeth::initTestCase()
{
    registerMetaTypes();
    // One heartbeat a minute: within the test only the first one can show
    // the unit as connected.
    LinkTimings t;
    t.baseTimeoutMs = 1000; // the search's window
    t.heartbeatMs = 60000;
    t.watchdogMs = 60000;
    t.watchdogSingleCoreMs = 60000;
    Device::instance()->ethernetHandler()->setTimings(t);
    Device::instance()->startTransport();
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
}

void TestMainWindowConnectVeth::connectDuringSearchTakesFirstAnswer()
{
    KORVANTIS_REQUIRE_TESTNET();
    UnitSim unit;
    unit.setAddress(testnet::unitVethAddress(0));
    unit.setPushInterval(0); // answers only
    QString error;
    QVERIFY2(unit.start(&error), qPrintable(error));

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    BoxAnswerer answerer(&window, {0}); // "No" to reading the configuration
    EthernetHandler *eth = Device::instance()->ethernetHandler();

    // The engineer's steps, inside the dialog's own event loop: the address
    // typed in, "Refresh List", and "Connect" while that search still runs.
    enum class Step { Open, Searching, Connected } step = Step::Open;
    bool connectedDuringSearch = false;
    QTimer driver;
    driver.setInterval(20);
    connect(&driver, &QTimer::timeout, &window, [&] {
        auto *dialog = window.findChild<Connectdialog *>();
        if (!dialog || !dialog->isVisible())
            return;
        auto *refresh = dialog->findChild<QToolButton *>(QStringLiteral("btnDiscoverIPs"));
        auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("cmbNetworkInterface"));
        switch (step) {
        case Step::Open: {
            // The first search, started by the dialog itself, is over.
            if (!refresh->isEnabled() || !combo->isEnabled())
                return;
            // The tools' side of the veth pair (choosing it starts a search).
            for (int i = 0; i < combo->count(); ++i) {
                if (combo->itemData(i).value<QNetworkAddressEntry>().ip() == testnet::toolVethAddress()
                    && combo->currentIndex() != i) {
                    combo->setCurrentIndex(i);
                    return;
                }
            }
            dialog->findChild<QLineEdit *>(QStringLiteral("leditManIP"))->setText(unit.address().toString());
            unit.clearRequestLog();
            step = Step::Searching;
            // The search waits in a loop of its own: clicked from a timer.
            QTimer::singleShot(0, refresh, &QToolButton::click);
            return;
        }
        case Step::Searching:
            if (refresh->isEnabled())
                return; // not started yet
            connectedDuringSearch = true;
            step = Step::Connected;
            dialog->findChild<QPushButton *>(QStringLiteral("btnConnect"))->click();
            return;
        case Step::Connected:
            return;
        }
    });
    driver.start();
    part<QToolButton>(&window, "btnConnectToDevice")->click();
    driver.stop();
    QVERIFY(connectedDuringSearch);
    QCOMPARE(eth->targetAddress(), unit.address());

    // The status bar shows the unit from its first heartbeat answer.
    QTRY_COMPARE_WITH_TIMEOUT(part<QLabel>(&window, "lblstatustxt")->text(),
                              QStringLiteral("Connected to ") + unit.address().toString(), 20000);
    QVERIFY(eth->isConnected());
    int heartbeats = 0;
    for (const UnitSimRequest &r : unit.requestLog()) {
        if (r.command != EthernetHandler::CmdHeartbeat)
            continue;
        ++heartbeats;
        // Sent to the unit itself, not broadcast with the search.
        QVERIFY(!r.viaBroadcast);
    }
    QCOMPARE(heartbeats, 1);

    eth->disconnectFromDevice();
}

QTEST_MAIN(TestMainWindowConnectVeth)
#include "tst_mainwindow_connect_veth.moc"
