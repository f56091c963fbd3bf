#include <QtTest>

#include "archivefixture.h"
#include "databasecont.h"
#include "ethernethandler.h"
#include "loaderlaunch.h"
#include "mainwindow.h"
#include "metatypes.h"
#include "notificationbar.h"
#include "testnet.h"
#include "udpserver.h"
#include "updatefirmware.h"

#include <QApplication>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

// tests/config/firmware: the in-process bootloader of the other test takes
// 127.0.10.2; the simulator program here takes 127.0.10.5.
const QHostAddress kUnit(QStringLiteral("127.0.10.5"));

constexpr int kPages = 12;  // a 192 KB image: twelve 16 KB pages
constexpr int kActAtPage = 4;  // the page a close or quit comes at

const char kRunning[] = "A firmware update is running. KorvantisSetup can be closed when it has ended.";
const char kEnded[] = "The Firmware update has ended successfully.";

} // namespace

// KorvantisSetup's main window runs a firmware update with the real
// KorvantisLoader against the simulated bootloader (KorvantisUnitSim
// --mode bootloader, its request log in a file), as the engineer does it on
// the "Update Firmware" page. Closing or quitting in the middle of the
// flash must never leave the unit half-written without a word; a loader
// that gives no result of its own is a failure that names its step.
class TestFirmwareCloseVeth : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void closingDuringTheFlash_data();
    void closingDuringTheFlash();
    void loaderWithoutAResult_data();
    void loaderWithoutAResult();

private:
    // Starts the simulated bootloader program with a fresh request log. With
    // `holdAtPage`, the answer to that page's write (and every later one)
    // waits until release(): the loader is held in the middle of the flash
    // for as long as the test needs, however busy the machine.
    bool startUnit(int holdAtPage = 0);
    void release();
    // The commands of the unit's request log, in order.
    QList<int> commands() const;
    int count(int command) const;
    // Pids of this test's KorvantisLoader children.
    QList<pid_t> loaderChildren() const;
    // A main window whose update page uses the test's link and loader folder.
    void openWindow(const QString &workingDir);
    UpdateFirmware *page() const { return window->findChild<UpdateFirmware *>(); }
    NotificationBar *bar() const { return window->findChild<NotificationBar *>(QStringLiteral("notifyBar")); }
    QStringList barTexts();

    QTemporaryDir m_dir;
    QTemporaryDir m_empty;  // a working folder without a loader
    QString m_archive;
    QString m_log;
    QProcess m_unit;
    UDPServer m_server;
    EthernetHandler m_link;
    QPointer<MainWindow> window;
};

void TestFirmwareCloseVeth::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    registerMetaTypes();
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    QVERIFY(QFile::exists(testnet::binDir() + QStringLiteral("/KorvantisLoader")));
    QVERIFY(QFile::exists(testnet::binDir() + QStringLiteral("/KorvantisUnitSim")));
    m_archive = m_dir.filePath(QStringLiteral("big.fwa"));
    QCOMPARE(fixture::makeArchive(3, {{loader::FirmwareSection::PagedImage, fixture::pattern(kPages * 0x4000, 31)}})
                 .save(m_archive),
             loader::ERR_OK);
    m_log = m_dir.filePath(QStringLiteral("requests.log"));
    // The link the page takes the unit from: nothing reaches the unit
    // through it, but its local address is the one the loader binds.
    m_server.runServer();
    m_server.setIPSlot(testnet::toolVethAddress(), 0);
    QCOMPARE(m_server.localAddress(), testnet::toolVethAddress());
}

void TestFirmwareCloseVeth::init()
{
    KORVANTIS_REQUIRE_TESTNET();
}

void TestFirmwareCloseVeth::cleanup()
{
    delete window.data();
    m_unit.kill();
    m_unit.waitForFinished();
}

bool TestFirmwareCloseVeth::startUnit(int holdAtPage)
{
    m_unit.setProgram(testnet::binDir() + QStringLiteral("/KorvantisUnitSim"));
    QStringList arguments{QStringLiteral("--mode"), QStringLiteral("bootloader"), QStringLiteral("--address"),
                          kUnit.toString(), QStringLiteral("--state"), QStringLiteral("firmware"),
                          QStringLiteral("--reboot-ms"), QStringLiteral("500"), QStringLiteral("--no-broadcast"),
                          QStringLiteral("--log"), m_log};
    if (holdAtPage > 0)
        arguments << QStringLiteral("--hold") << QStringLiteral("0x82:%1").arg(holdAtPage);
    m_unit.setArguments(arguments);
    m_unit.start();
    return m_unit.waitForReadyRead(10000) && m_unit.readAllStandardOutput().contains("listening");
}

void TestFirmwareCloseVeth::release()
{
    m_unit.write("release\n");
    m_unit.waitForBytesWritten(10000);
}

QList<int> TestFirmwareCloseVeth::commands() const
{
    QFile file(m_log);
    QList<int> out;
    if (!file.open(QIODevice::ReadOnly))
        return out;
    // time sequence command flags payload origin
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() >= 3)
            out << fields.at(2).toInt(nullptr, 16);
    }
    return out;
}

int TestFirmwareCloseVeth::count(int command) const
{
    return commands().count(command);
}

QList<pid_t> TestFirmwareCloseVeth::loaderChildren() const
{
    QList<pid_t> out;
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        bool isPid = false;
        const pid_t pid = it.fileName().toInt(&isPid);
        if (!isPid)
            continue;
        QFile stat(it.filePath() + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (comm) state ppid ...
        const QByteArray text = stat.readAll();
        const int open = text.indexOf('('), close = text.lastIndexOf(')');
        if (open < 0 || close < open)
            continue;
        const QList<QByteArray> rest = text.mid(close + 2).split(' ');
        if (text.mid(open + 1, close - open - 1).startsWith("KorvantisLoade") && rest.size() > 1
            && rest.at(1).toInt() == getpid())
            out << pid;
    }
    return out;
}

void TestFirmwareCloseVeth::openWindow(const QString &workingDir)
{
    window = new MainWindow;
    window->show();
    page()->setLink(&m_link, &m_server);
    page()->setLoaderLookup(workingDir, testnet::binDir(), 120000);
    page()->findChild<QLineEdit *>(QStringLiteral("leditFile"))->setText(m_archive);
    m_link.setTargetIP(kUnit);
}

QStringList TestFirmwareCloseVeth::barTexts()
{
    // Takes every entry off the bar, newest first.
    QStringList out;
    while (bar()->entryCount() > 0) {
        out << bar()->currentEntry().text;
        bar()->on_btnConfirm_clicked();
    }
    return out;
}

void TestFirmwareCloseVeth::closingDuringTheFlash_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("refused");  // the window stays up and says why
    QTest::addColumn<int>("exitCode");  // of the program's event loop
    // The engineer closes the window, or the desktop asks the program to
    // quit (the way lastWindowClosed quits it too): both come to the
    // window's close, which is refused while the loader runs.
    QTest::newRow("window closed") << "close" << true << 0;
    QTest::newRow("quit event") << "quit event" << true << 0;
    // Code that ends the event loop without asking the window: the loader
    // run is still waited for, to its end, and the program ends after.
    QTest::newRow("QApplication::quit") << "quit" << false << 0;
    QTest::newRow("restart exit") << "restart" << false << 1337;
}

void TestFirmwareCloseVeth::closingDuringTheFlash()
{
    QFETCH(QString, how);
    QFETCH(bool, refused);
    QFETCH(int, exitCode);

    QVERIFY(startUnit(kActAtPage));
    openWindow(m_empty.path());
    QSignalSpy failures(page(), &BaseWidget::printNotifyBarErrorwrapper);
    auto *update = page()->findChild<QPushButton *>(QStringLiteral("btnUpdate"));

    // Once the unit has the fourth page: its answer is held, so the loader
    // is in the middle of the flash until the test has acted.
    bool acted = false;
    bool stayedUp = false;
    bool runningShown = false;
    int pagesWhenActed = 0;
    QTimer watch;
    watch.setInterval(20);
    connect(&watch, &QTimer::timeout, this, [&] {
        if (acted || count(0x82) < kActAtPage)
            return;
        acted = true;
        pagesWhenActed = count(0x82);
        if (how == "close") {
            stayedUp = !window->close();
        } else if (how == "quit event") {
            QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
            // Handled by the loop the update waits in; a call queued after
            // it sees the window as the quit event left it.
            QMetaObject::invokeMethod(
                this,
                [&] {
                    stayedUp = window && window->isVisible();
                    release();
                },
                Qt::QueuedConnection);
        } else if (how == "quit") {
            QCoreApplication::quit();
        } else {
            QCoreApplication::exit(1337);
        }
        runningShown = bar()->currentEntry().text == QLatin1String(kRunning);
        if (how != "quit event")
            release();
    });

    // Where the window stood when the update had ended.
    bool upAfterUpdate = false;
    bool updatingAfterUpdate = true;
    QStringList barAfterUpdate;
    QTimer::singleShot(0, this, [&] {
        watch.start();
        update->click();  // returns when the update has ended
        watch.stop();
        upAfterUpdate = window && window->isVisible();
        updatingAfterUpdate = window && window->updateRunning();
        if (window)
            barAfterUpdate = barTexts();
        // Now the window closes (when the program has not ended already).
        if (window && refused)
            QVERIFY(window->close());
    });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    failsafe.start(180000);
    QCOMPARE(qApp->exec(), exitCode);

    QVERIFY(acted);
    // The unit held the flash at the page the test acted at.
    QCOMPARE(pagesWhenActed, kActAtPage);
    // The unit got every page and the start command after them.
    QCOMPARE(count(0x82), kPages);
    QCOMPARE(commands().last(), 0x91);
    QVERIFY2(failures.isEmpty(), failures.isEmpty() ? "" : qPrintable(failures.first().first().toString()));
    // The window was there to the end of the update.
    QVERIFY(upAfterUpdate);
    QVERIFY(!updatingAfterUpdate);
    if (refused) {
        QVERIFY(stayedUp);
        if (how == "close")
            QVERIFY(runningShown);
        QVERIFY(!window->isVisible());
    }
    // Once the update has ended, the warning that asked to wait for it is
    // gone and the end is said: the success is the newest entry.
    QVERIFY2(!barAfterUpdate.contains(QLatin1String(kRunning)), qPrintable(barAfterUpdate.join('|')));
    QCOMPARE(barAfterUpdate.value(0), QLatin1String(kEnded));
}

void TestFirmwareCloseVeth::loaderWithoutAResult_data()
{
    QTest::addColumn<QString>("loader");  // what the working folder holds, or how the run ends
    QTest::addColumn<QString>("message");
    QTest::newRow("no loader")
        << "none"
        << "The Firmware update failed. Return code: -100 (step -rc: KorvantisLoader was not found)";
    QTest::newRow("loader cannot start")
        << "not executable"
        << "The Firmware update failed. Return code: -99998 (step -rc: KorvantisLoader could not be started: ";
    QTest::newRow("loader killed while flashing")
        << "SIGKILL" << "The Firmware update failed. Return code: -99999 (step -f: KorvantisLoader crashed or was killed)";
    // A crash by abort: under AddressSanitizer the loader would turn a
    // SIGSEGV into a report and an ordinary exit.
    QTest::newRow("loader crashes while flashing")
        << "SIGABRT" << "The Firmware update failed. Return code: -99999 (step -f: KorvantisLoader crashed or was killed)";
}

void TestFirmwareCloseVeth::loaderWithoutAResult()
{
    QFETCH(QString, loader);
    QFETCH(QString, message);

    QTemporaryDir work;
    QTemporaryDir programs;  // no loader beside the program either
    QString programDir = testnet::binDir();
    // A loader that dies does so in the middle of the flash: the unit holds
    // the answer to the second page until the loader has been signalled.
    QVERIFY(startUnit(loader.startsWith("SIG") ? 2 : 0));
    if (loader == "none") {
        programDir = programs.path();
    } else if (loader == "not executable") {
        // The versioned name is taken from the working folder as it is.
        QFile file(work.filePath(QString::fromLatin1(LoaderLaunch::DefaultProgramName)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a program\n");
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    }
    openWindow(work.path());
    page()->setLoaderLookup(work.path(), programDir, 120000);
    QSignalSpy failures(page(), &BaseWidget::printNotifyBarErrorwrapper);

    QTimer watch;
    bool signalled = false;
    if (loader.startsWith("SIG")) {
        const int signal = loader == "SIGKILL" ? SIGKILL : SIGABRT;
        watch.setInterval(20);
        // The signal by value: the timer outlives this block.
        connect(&watch, &QTimer::timeout, this, [&, signal] {
            if (signalled || count(0x82) < 2)
                return;
            const QList<pid_t> children = loaderChildren();
            if (children.size() != 1)
                return;
            signalled = true;
            ::kill(children.first(), signal);
            release();
        });
        watch.start();
    }
    page()->findChild<QPushButton *>(QStringLiteral("btnUpdate"))->click();
    watch.stop();

    QCOMPARE(failures.size(), 1);
    const QString shown = failures.first().first().toString();
    QVERIFY2(shown.startsWith(message), qPrintable(shown));
    // The page's message reaches the window's notification bar.
    QCOMPARE(bar()->currentEntry().text, shown);
    if (loader.startsWith("SIG")) {
        QVERIFY(signalled);
        QVERIFY(count(0x82) < kPages);
        // "-l" still ran: the unit is not left in its bootloader.
        QCOMPARE(commands().last(), 0x91);
    } else {
        QVERIFY(commands().isEmpty());
    }
}

QTEST_MAIN(TestFirmwareCloseVeth)
#include "tst_firmwareclose_veth.moc"
