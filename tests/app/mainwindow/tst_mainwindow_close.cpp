// The program ending while the main window waits on the unit: the window is
// closed, the desktop asks the program to quit, code quits it, or the window
// is deleted, in the middle of the configuration read that follows the first
// heartbeat or of the log read of the log tab. The event loop ends, the
// window's slot stops after its wait, and nothing more goes to the unit.
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "databasecont.h"
#include "device.h"
#include "ethernethandler.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "requestlog.h"
#include "settle.h"
#include "testnet.h"
#include "udpserver.h"
#include "custommessagebox.h"
#include "unitsim.h"
#include "unitsimblocks.h"

namespace {

// tests/app/mainwindow takes 127.0.3.20 to 127.0.3.29.
const QHostAddress kUnit(QStringLiteral("127.0.3.26"));

LinkTimings timings()
{
    LinkTimings t;
    t.baseTimeoutMs = 300;
    t.heartbeatMs = 100;
    t.watchdogMs = 2000;
    t.watchdogSingleCoreMs = 4000;
    return t;
}
const LinkTimings kTimings = timings();

} // namespace

class TestMainWindowClose : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void endDuringRead_data();
    void endDuringRead();
    void closeRightBeforeAWait_data();
    void closeRightBeforeAWait();

private:
    // The new requests of the unit's log other than heartbeats, from `from`
    // on: a resend of a request logged before (the same frame again, which
    // the link sends when an answer is late) is no new request.
    int requestsSince(int from) const;
    // The frames of the unit's log other than heartbeats from `from` on,
    // resends included.
    int framesSince(int from) const;
    // What the program handed to its transport so far has reached the unit.
    bool unitHasReadAll();

    std::unique_ptr<UnitSim> unit;
    QPointer<MainWindow> window;
    std::unique_ptr<BoxAnswerer> answerer;
};

void TestMainWindowClose::initTestCase()
{
    registerMetaTypes();
    Device::instance()->ethernetHandler()->setTimings(kTimings);
    Device::instance()->startTransport();
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
}

void TestMainWindowClose::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    unit = std::make_unique<UnitSim>();
    QString error;
    QVERIFY2(unit->startQuiet(kUnit, &error), qPrintable(error));
    UnitSimBlocks::of(unit.get())->setLogRecords(400);
    window = new MainWindow;
    window->show();
}

void TestMainWindowClose::cleanup()
{
    answerer.reset();
    Device::instance()->ethernetHandler()->disconnectFromDevice();
    delete window.data();
    unit.reset();
}

bool TestMainWindowClose::unitHasReadAll()
{
    return settle::postedEventsHandled(Device::instance()->udpServer())
           && settle::unitHasRead(unit.get(), kUnit);
}

int TestMainWindowClose::requestsSince(int from) const
{
    const QVector<UnitSimRequest> &log = unit->requestLog();
    const int before = withoutResends(log.mid(0, from)).size();
    int n = 0;
    for (const UnitSimRequest &r : withoutResends(log).mid(before)) {
        if (r.command == EthernetHandler::CmdHeartbeat)
            continue;
        qDebug() << "request" << Qt::hex << r.command << Qt::dec << r.paramId << r.index;
        ++n;
    }
    return n;
}

int TestMainWindowClose::framesSince(int from) const
{
    const QVector<UnitSimRequest> &log = unit->requestLog();
    int n = 0;
    for (int i = from; i < log.size(); ++i)
        n += log.at(i).command != EthernetHandler::CmdHeartbeat;
    return n;
}

void TestMainWindowClose::endDuringRead_data()
{
    QTest::addColumn<QString>("read");    // "config" or "log"
    QTest::addColumn<QString>("how");     // close, quit event, quit, delete
    // At most this many requests after the one the program ended in, and
    // none after the window has gone. The window's slot stops after the
    // wait it is in: a close (also the one a quit event makes) marks the
    // window as going, and a deleted window is gone. An answer already on
    // its way still completes the log block in flight, and the link asks
    // for the next one, which the ending loop cuts short (no resend).
    // QApplication::quit ends every wait without asking the window: the
    // rest of the configuration read goes out once each, cut short, before
    // the window goes.
    QTest::addColumn<int>("moreAllowed");

    QTest::newRow("config read, window closed") << "config" << "close" << 0;
    QTest::newRow("config read, quit event") << "config" << "quit event" << 0;
    QTest::newRow("config read, QApplication::quit") << "config" << "quit" << 5;
    QTest::newRow("config read, window deleted") << "config" << "delete" << 0;
    QTest::newRow("log read, window closed") << "log" << "close" << 1;
    QTest::newRow("log read, quit event") << "log" << "quit event" << 1;
    QTest::newRow("log read, QApplication::quit") << "log" << "quit" << 1;
}

void TestMainWindowClose::endDuringRead()
{
    QFETCH(QString, read);
    QFETCH(QString, how);
    QFETCH(int, moreAllowed);

    // The config read: the third channel name; the log read: its first block.
    const bool config = read == QLatin1String("config");
    int actedAt = -1;
    auto *connection = new QMetaObject::Connection;
    *connection = connect(unit.get(), &UnitSim::requestReceived, this, [&, connection](const UnitSimRequest &r) {
        const bool hit = config ? r.command == EthernetHandler::CmdReadParam
                                      && r.paramId == EthernetHandler::ParamChannelName && r.index == 2
                                : r.command == EthernetHandler::CmdReadLog;
        if (!hit)
            return;
        disconnect(*connection);
        actedAt = unit->requestLog().size();
        if (how == QLatin1String("close"))
            window->close();
        else if (how == QLatin1String("quit event"))
            QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
        else if (how == QLatin1String("quit"))
            QCoreApplication::quit();
        else {
            answerer.reset();  // it holds the window
            delete window.data();
        }
    });

    answerer = std::make_unique<BoxAnswerer>(window, QList<int>{config ? 1 : 0});
    QTimer::singleShot(0, this, [&] {
        Device::instance()->ethernetHandler()->setTargetIP(kUnit);
        if (!config) {
            // The log is read once the first heartbeat's question is answered.
            QTRY_VERIFY_WITH_TIMEOUT(!window->asksReadConfig(), 10000);
            QTRY_VERIFY_WITH_TIMEOUT(!Device::instance()->ethernetHandler()->isWaiting(), 10000);
            QTest::mouseClick(part<QPushButton>(window, "btnLogTab"), Qt::LeftButton);
        }
    });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    failsafe.start(30000);
    if (how == QLatin1String("delete")) {
        // Nothing ends the program's loop here: wait for the slot to end.
        QTRY_VERIFY_WITH_TIMEOUT(window.isNull() && !Device::instance()->ethernetHandler()->isWaiting(), 20000);
    } else {
        QCOMPARE(qApp->exec(), 0);
        QVERIFY(failsafe.isActive());
    }
    delete connection;
    QVERIFY(actedAt > 0);
    // What was sent before the loop ended has reached the unit.
    QVERIFY(unitHasReadAll());
    QVERIFY(requestsSince(actedAt) <= moreAllowed);

    // As the program ends: the window goes, and the transport with it
    // (here the link stops its heartbeat instead). Nothing is sent after:
    // no wait is left, and nothing resends once a request's time-out has
    // passed.
    answerer.reset();  // it holds the window
    delete window.data();
    Device::instance()->ethernetHandler()->disconnectFromDevice();
    QVERIFY(!Device::instance()->ethernetHandler()->isWaiting());
    QVERIFY(unitHasReadAll());
    QVERIFY(requestsSince(actedAt) <= moreAllowed);
    const int gone = unit->requestLog().size();
    QVERIFY(settle::timersDue(kTimings.baseTimeoutMs));
    QVERIFY(unitHasReadAll());
    QCOMPARE(framesSince(gone), 0);
}

namespace {

// Closes the window the moment a message box shows, before its wait begins.
class CloseOnBox : public QObject
{
public:
    explicit CloseOnBox(QWidget *window) : window(window) { qApp->installEventFilter(this); }
    bool fired = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!fired && event->type() == QEvent::Show && qobject_cast<CustomMessageBox *>(watched)) {
            fired = true;
            window->close();
        }
        return false;
    }

private:
    QPointer<QWidget> window;
};

} // namespace

// The ordering that lost the quit: the window is closed in the same event
// pass in which a wait ends, and the code goes on into its next wait (the
// next request, the retry after a time-out, a question) before the pass that
// would have delivered the quit. Here the close comes right before that next
// wait begins, which is the same: Qt's quit request is a posted event, and a
// new event loop drops posted quit requests. The program must end all the same.
void TestMainWindowClose::closeRightBeforeAWait_data()
{
    QTest::addColumn<QString>("wait");
    QTest::newRow("the next request of the configuration read") << "request";
    QTest::newRow("the retry after a time-out") << "retry";
    QTest::newRow("the question after the first heartbeat") << "question";
}

void TestMainWindowClose::closeRightBeforeAWait()
{
    QFETCH(QString, wait);
    EthernetHandler *handler = Device::instance()->ethernetHandler();
    bool armed = false;
    bool closed = false;
    QMetaObject::Connection hit = connect(unit.get(), &UnitSim::requestReceived, this, [&](const UnitSimRequest &r) {
        if (armed || r.command != EthernetHandler::CmdReadParam || r.paramId != EthernetHandler::ParamChannelName
            || r.index != 2)
            return;
        armed = true;
        if (wait == QLatin1String("retry"))
            unit->faults().silent = true;
    });
    // Right before the wait of the next request (or of the retry) begins:
    // the frame goes out, then the nested loop starts.
    QMetaObject::Connection send =
        connect(handler, &EthernetHandler::sendPacketSignal, this, [&](const QByteArray &frame, const QHostAddress &) {
            if (!armed || closed || frame.size() < 4 || uint8_t(frame.at(3)) != EthernetHandler::CmdReadParam)
                return;
            closed = true;
            window->close();
        });
    std::unique_ptr<CloseOnBox> onBox;
    if (wait == QLatin1String("question"))
        onBox = std::make_unique<CloseOnBox>(window);
    answerer = std::make_unique<BoxAnswerer>(window, QList<int>{1});
    QTimer::singleShot(0, this, [] { Device::instance()->ethernetHandler()->setTargetIP(kUnit); });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    failsafe.start(20000);
    const int code = qApp->exec();
    disconnect(hit);
    disconnect(send);
    QVERIFY(closed || (onBox && onBox->fired));
    QCOMPARE(code, 0);
    QVERIFY(window->isHidden());
}

QTEST_MAIN(TestMainWindowClose)
#include "tst_mainwindow_close.moc"
