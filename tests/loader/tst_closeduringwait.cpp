#include <QtTest>

#include <QAction>
#include <QApplication>
#include <QPushButton>

#include "ethernethandler.h"
#include "aboutdialog.h"
#include "bootloadersim.h"
#include "loaderfixture.h"
#include "mainwindow.h"
#include "settle.h"
#include "testnet.h"

using namespace loader;

// Windows that wait on the unit in a nested event loop, closed or deleted
// while they wait on a silent bootloader: the program lives on, the code
// after the wait touches nothing of a deleted window, and the next command
// works. A use after free shows as a crash here, or as a sanitizer report
// in a sanitizer build.
class TestCloseDuringWait : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void aboutClosedWhileReading_data();
    void aboutClosedWhileReading();
    void mainWindowClosedWhileWaiting_data();
    void mainWindowClosedWhileWaiting();
    void mainWindowDeletedWhileWaiting();

private:
    // Runs `action` once, as soon as the unit has received a request with
    // `command` (from within the wait for its answer).
    void onRequest(uint8_t command, std::function<void()> action);
    // Answers again and checks that a version read goes through.
    void nextCommandWorks();

    QHostAddress m_unit{QStringLiteral("127.0.5.41")};
    BootloaderSim *m_sim = nullptr;
    LoaderRig *m_rig = nullptr;
    char m_name[16] = "KorvantisLoader";
    char *m_argv[2] = {m_name, nullptr};
};

void TestCloseDuringWait::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    m_sim = new BootloaderSim(m_unit);
    m_sim->setListenBroadcast(false);
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));
    m_rig = new LoaderRig(QHostAddress(QStringLiteral("127.0.5.40")));
    QVERIFY(m_rig->isBound());
}

void TestCloseDuringWait::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    m_sim->clearFaults();
    m_sim->clearRequests();
    m_sim->addFault({BootloaderSim::FaultKind::Silence, -1, -1, 0});
    m_rig->handler()->openLink();
    m_rig->handler()->setTargetIP(m_unit);
}

void TestCloseDuringWait::cleanupTestCase()
{
    delete m_rig;
    delete m_sim;
}

void TestCloseDuringWait::onRequest(uint8_t command, std::function<void()> action)
{
    auto *connection = new QMetaObject::Connection;
    *connection = connect(m_sim, &BootloaderSim::requestReceived, this, [=](int index) {
        if (m_sim->requests().at(index).command != command)
            return;
        disconnect(*connection);
        delete connection;
        action();
    });
}

void TestCloseDuringWait::nextCommandWorks()
{
    m_sim->clearFaults();
    m_sim->setHwVersionAnswer(QByteArray::fromHex("0506"));
    HW_VersionInfo hw;
    QCOMPARE(m_rig->handler()->rdHWVersion(&hw), ERR_OK);
    QCOMPARE(int(hw.pModule), 5);
}

void TestCloseDuringWait::aboutClosedWhileReading_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("during");        // the read that is waiting
    QTest::addColumn<bool>("deleted");      // the window is gone afterwards
    QTest::addColumn<int>("hwRequests");    // both attempts: the wait runs out by itself
    QTest::addColumn<int>("fwRequests");    // the window stops reading once closed
    QTest::newRow("Close, hardware read") << "button" << int(BootProtocol::CmdReadHWVersion) << true << 2 << 0;
    QTest::newRow("Close, bootloader read") << "button" << int(BootProtocol::CmdReadFWVersion) << true << 2 << 2;
    QTest::newRow("frame, hardware read") << "frame" << int(BootProtocol::CmdReadHWVersion) << false << 2 << 0;
    QTest::newRow("deleted, hardware read") << "delete" << int(BootProtocol::CmdReadHWVersion) << true << 2 << 0;
    QTest::newRow("deleted, bootloader read") << "delete" << int(BootProtocol::CmdReadFWVersion) << true << 2 << 2;
}

void TestCloseDuringWait::aboutClosedWhileReading()
{
    QFETCH(QString, how);
    QFETCH(int, during);
    QFETCH(bool, deleted);
    QFETCH(int, hwRequests);
    QFETCH(int, fwRequests);

    MainWindow window(nullptr, 1, m_argv);
    window.show();
    window.findChild<QAction *>(QStringLiteral("actionAbout"))->trigger();
    QPointer<AboutDialog> about = window.aboutDialog();
    QVERIFY(about && about->isVisible() && about->isReadingVersions());
    // The window is up before anything is read.
    QVERIFY(about->infoText().endsWith(QStringLiteral("Hardware:")));

    onRequest(uint8_t(during), [&] {
        if (how == "button")
            about->findChild<QPushButton *>(QStringLiteral("btnClose"))->click();
        else if (how == "frame")
            about->close();
        else
            delete about.data();
    });
    QTRY_VERIFY_WITH_TIMEOUT(m_sim->requestsFor(uint8_t(during)).size() >= 1, 10000);
    // The reads end through their own time-outs; only then is the wait over.
    QTRY_COMPARE_WITH_TIMEOUT(about.isNull(), deleted, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!about || !about->isReadingVersions(), 10000);
    // The last attempt, unanswered, has reached the unit.
    QVERIFY(m_rig->unitHasReadAll(*m_sim));
    QCOMPARE(m_sim->requestsFor(BootProtocol::CmdReadHWVersion).size(), hwRequests);
    QCOMPARE(m_sim->requestsFor(BootProtocol::CmdReadFWVersion).size(), fwRequests);
    if (about) {
        // Hidden, kept, and nothing written after the close.
        QVERIFY(!about->isVisible());
        QVERIFY(!about->infoText().contains(QStringLiteral("Could not determine HW-Version")));
        delete about.data();
    }
    nextCommandWorks();
}

void TestCloseDuringWait::mainWindowClosedWhileWaiting_data()
{
    QTest::addColumn<QString>("waiting");
    QTest::addColumn<int>("command");
    QTest::newRow("About reading") << "about" << int(BootProtocol::CmdReadHWVersion);
    QTest::newRow("CatchActiveLoader") << "catch" << int(BootProtocol::CmdCatchLoader);
}

// As the program runs: closing the main window while something waits ends
// the event loop; nothing goes to the unit after that.
void TestCloseDuringWait::mainWindowClosedWhileWaiting()
{
    QFETCH(QString, waiting);
    QFETCH(int, command);

    auto *window = new MainWindow(nullptr, 1, m_argv);
    window->show();
    QTimer::singleShot(0, window, [&] {
        if (waiting == "about")
            window->findChild<QAction *>(QStringLiteral("actionAbout"))->trigger();
        else
            window->findChild<QPushButton *>(QStringLiteral("btnCatchLoader"))->click();
    });
    onRequest(uint8_t(command), [&] { window->close(); });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, qApp, &QCoreApplication::quit);
    failsafe.start(20000);
    qApp->exec();
    QVERIFY2(failsafe.isActive(), "closing the main window did not end the event loop");
    delete window;

    // What went out before the loop ended has arrived.
    QVERIFY(m_rig->unitHasReadAll(*m_sim));
    const int sent = m_sim->requests().size();
    QCOMPARE(m_sim->requestsFor(uint8_t(command)).size(), 1);
    QCOMPARE(m_sim->requestsFor(BootProtocol::CmdReadFWVersion).size(), 0);
    // The link stays closed: a command now is refused without a datagram,
    // and no resend comes once the longest answer time-out (1 s) has passed.
    QVERIFY(m_rig->handler()->isLinkClosed());
    QCOMPARE(m_rig->handler()->rdHWVersion(nullptr), ERR_TIMEOUT);
    QVERIFY(settle::timersDue(1000));
    QVERIFY(m_rig->unitHasReadAll(*m_sim));
    QCOMPARE(m_sim->requests().size(), sent);
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(!qobject_cast<AboutDialog *>(w) || !w->isVisible(), "an About window outlived the main window");

    m_rig->handler()->openLink();
    nextCommandWorks();
}

// The main window deleted from within its own wait: the slot stops after
// the wait instead of writing into the deleted window.
void TestCloseDuringWait::mainWindowDeletedWhileWaiting()
{
    QPointer<MainWindow> window = new MainWindow(nullptr, 1, m_argv);
    window->show();
    onRequest(BootProtocol::CmdCatchLoader, [&] { delete window.data(); });
    window->findChild<QPushButton *>(QStringLiteral("btnCatchLoader"))->click();
    QVERIFY(window.isNull());
    // The catch and its resend, both unanswered.
    QVERIFY(m_rig->unitHasReadAll(*m_sim));
    QCOMPARE(m_sim->requestsFor(BootProtocol::CmdCatchLoader).size(), 2);
    nextCommandWorks();
}

QTEST_MAIN(TestCloseDuringWait)
#include "tst_closeduringwait.moc"
