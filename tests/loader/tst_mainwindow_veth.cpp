#include <QtTest>

#include <QApplication>
#include <QScreen>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextEdit>

#include "ethernethandler.h"
#include "udpserver.h"
#include "addressinput.h"
#include "bootloadersim.h"
#include "firmwarearchive.h"
#include "loaderfixture.h"
#include "loadermetatypes.h"
#include "mainwindow.h"
#include "testnet.h"

using namespace loader;

// The loader window as the program builds it (its socket on a worker
// thread, bound through the adapter choice to the tool's veth address),
// driven by its buttons against a simulated bootloader; the bootloader's
// request log and the window's status and log texts show what each did.
class TestMainWindowVeth : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void adapterItems();
    void commandModeShowsItsAddresses();
    void connectSetsTarget();
    void catchLoaderButton();
    void startFirmwareButton();
    void resetButton();
    void firmwareButton();
    void firmwareDialogCancelled();
    void overlayTakesEveryClickDuringAWrite();
    void keyUpdateButton();
    void writeDefaultsButton();
    void netCfgButton();
    void invalidInputSendsNothing_data();
    void invalidInputSendsNothing();

private:
    template <typename T> T *child(const char *name) const { return m_window->findChild<T *>(QLatin1String(name)); }
    void click(const char *button) { child<QPushButton>(button)->click(); }
    QString lastLogLine() const { return child<QTextEdit>("CANLog")->toPlainText().split('\n').last(); }
    QString status() const { return m_window->statusBar()->currentMessage(); }
    QString statusStyle() const { return m_window->statusBar()->styleSheet(); }
    QList<uint8_t> commands() const { return commandsOf(m_sim->requests()); }
    QString save(FirmwareArchive archive, const QString &name);

    QHostAddress m_unit = testnet::unitVethAddress(2);  // 198.18.0.4
    QByteArray m_unitMac = QByteArray::fromHex("0A1B2C3D4E5F");
    BootloaderSim *m_sim = nullptr;
    UDPServer *m_server = nullptr;
    QThread m_thread;
    MainWindow *m_window = nullptr;
    QString m_chosen;
    QStringList m_dialogStarts;
};

namespace {
char programName[] = "KorvantisLoader";
char *programArgv[] = {programName, nullptr};
const QString kRed = QStringLiteral("background-color: rgb( 255, 0, 0 );");
const QString kGreen = QStringLiteral("background-color: rgb( 0, 255, 0 );");
} // namespace

void TestMainWindowVeth::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    registerMetaTypes();
    m_sim = new BootloaderSim(m_unit);
    m_sim->setMac(m_unitMac);
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));

    // As the program entry does it.
    m_server = new UDPServer;
    m_server->moveToThread(&m_thread);
    connect(&m_thread, &QThread::started, m_server, &UDPServer::runServer);
    connect(&m_thread, &QThread::finished, m_server, &QObject::deleteLater);
    QSignalSpy bound(m_server, &UDPServer::bound);
    m_thread.start();
    m_window = new MainWindow(m_server, 1, programArgv);
    m_window->setFileChooser([this](QWidget *, const QString &, const QString &start, const QString &) {
        m_dialogStarts << start;
        return m_chosen;
    });
    m_window->show();

    // Pick the tool's side of the pair, as the engineer would.
    const int tool = m_window->adapters().indexOf(testnet::toolVethAddress());
    QVERIFY(tool >= 0);
    auto *combo = child<QComboBox>("cmbAdapter");
    if (combo->currentIndex() == tool)
        m_window->on_cmbAdapter_currentIndexChanged(tool);
    else
        combo->setCurrentIndex(tool);
    QTRY_COMPARE(bound.count(), 2);
    QVERIFY(bound.last().first().toBool());
    child<QLineEdit>("txtTargetIP")->setText(m_unit.toString());
    click("btnConnect");
    QCOMPARE(EthernetHandler::instance()->targetIP(), m_unit);
}

void TestMainWindowVeth::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    m_sim->setState(BootloaderSim::State::Bootloader);
    m_sim->eraseFlash();
    m_sim->clearFaults();
    m_sim->clearRequests();
    m_window->statusBar()->clearMessage();
    m_chosen.clear();
    m_dialogStarts.clear();
}

void TestMainWindowVeth::cleanupTestCase()
{
    delete m_window;
    if (m_server)
        QObject::disconnect(EthernetHandler::instance(), nullptr, m_server, nullptr);
    m_thread.quit();
    m_thread.wait(5000);
    delete m_sim;
}

QString TestMainWindowVeth::save(FirmwareArchive archive, const QString &name)
{
    const QString path = fixture::tempPath(name);
    if (archive.save(path) != ERR_OK)
        qWarning() << "cannot save" << path;
    return path;
}

void TestMainWindowVeth::adapterItems()
{
    // Only the pair's addresses are here: 198.18.0.1 on the tool's side and
    // eight entries on the units' side, which share one interface name.
    auto *combo = child<QComboBox>("cmbAdapter");
    const QList<QHostAddress> adapters = m_window->adapters();
    QCOMPARE(adapters.size(), 9);
    QCOMPARE(combo->count(), 9);
    for (int i = 0; i < adapters.size(); ++i) {
        const quint32 v = adapters.at(i).toIPv4Address();
        QCOMPARE(v & 0xFFFFFF00u, 0xC6120000u);
        const QString name = (v & 0xFF) == 1 ? QStringLiteral("kvt-tool") : QStringLiteral("kvt-unit");
        QCOMPARE(combo->itemText(i), addressinput::adapterItemText(name, adapters.at(i)));
    }
    const int tool = adapters.indexOf(testnet::toolVethAddress());
    QCOMPARE(combo->itemText(tool), QStringLiteral("kvt-tool  | IP: 198. 18.  0.  1"));
}

// The window of command mode (shown as well) names the unit of "-t" and the
// adapter of "-s", not the form's 192.168.0.100 and the first adapter.
void TestMainWindowVeth::commandModeShowsItsAddresses()
{
    const QHostAddress source = testnet::unitVethAddress(3);  // an adapter other than the first
    const int adapter = m_window->adapters().indexOf(source);
    QVERIFY(adapter > 0);
    QByteArray target = m_unit.toString().toLatin1();
    QByteArray local = source.toString().toLatin1();
    char t[] = "-t", s[] = "-s", c[] = "-c";
    char *argv[] = {programArgv[0], t, target.data(), s, local.data(), c, nullptr};
    // Without a server nothing it queues can leave the process, and it is
    // deleted before the event loop could run its command (and its end).
    auto *window = new MainWindow(nullptr, 6, argv);
    QVERIFY(window->isCommandLine());
    auto *shownTarget = window->findChild<QLineEdit *>(QStringLiteral("txtTargetIP"));
    auto *shownAdapter = window->findChild<QComboBox *>(QStringLiteral("cmbAdapter"));
    const QString targetText = MainWindow::normaliseAddressText(shownTarget->text());
    const int adapterShown = shownAdapter->currentIndex();
    delete window;
    QCOMPARE(targetText, m_unit.toString());
    QCOMPARE(adapterShown, adapter);
    QCOMPARE(EthernetHandler::instance()->targetIP(), m_unit);
}

void TestMainWindowVeth::connectSetsTarget()
{
    auto *target = child<QLineEdit>("txtTargetIP");
    target->setText(QStringLiteral("198.018.000.004"));
    click("btnConnect");
    QCOMPARE(EthernetHandler::instance()->targetIP(), m_unit);
    click("btnCatchLoader");
    QCOMPARE(commands(), QList<uint8_t>({0x90}));
}

void TestMainWindowVeth::catchLoaderButton()
{
    click("btnCatchLoader");
    QCOMPARE(lastLogLine(), QStringLiteral("Catching Loader successful "));
    QCOMPARE(commands(), QList<uint8_t>({0x90}));
    QCOMPARE(m_sim->requests().first().payload, QByteArray::fromHex("0800"));  // padded to whole words

    m_sim->addFault({BootloaderSim::FaultKind::Silence, 0x90, -1, 0});
    click("btnCatchLoader");
    QCOMPARE(lastLogLine(), QStringLiteral("Error Catching Loader "));
}

void TestMainWindowVeth::startFirmwareButton()
{
    m_sim->addFault({BootloaderSim::FaultKind::ErrorStatus, 0x91, 1, -5});
    click("btnStartFirmware");
    QCOMPARE(lastLogLine(), QStringLiteral("ERROR: unable to start Firmware! - -5"));
    click("btnStartFirmware");
    QCOMPARE(lastLogLine(), QStringLiteral("Firmware started"));
    QCOMPARE(commands(), QList<uint8_t>({0x91, 0x91}));
    QCOMPARE(m_sim->requests().last().payload, QByteArray::fromHex("0300"));
    QVERIFY(status().isEmpty());  // the outcome goes to the log only

    click("btnClearLog");
    QVERIFY(child<QTextEdit>("CANLog")->toPlainText().isEmpty());
}

void TestMainWindowVeth::resetButton()
{
    click("btnResetControllerFromFW");
    QCOMPARE(lastLogLine(), QStringLiteral("Sending Command: Reset Firmware"));
    QCOMPARE(commands(), QList<uint8_t>({0xFF}));
}

void TestMainWindowVeth::firmwareButton()
{
    const QByteArray image = fixture::pattern(0x4000 + 100, 11);
    m_chosen = save(fixture::makeArchive(3, {{FirmwareSection::PagedImage, image}}), "window-firmware.fwa");
    click("btnFirmware");
    QCOMPARE(status(), QStringLiteral("Firmware successfully written"));
    QCOMPARE(statusStyle(), kGreen);
    QCOMPARE(m_sim->readFlash(0x08014000, image.size()), image);
    QCOMPARE(commands().first(), uint8_t(0x90));  // caught before the dialog
    QCOMPARE(m_dialogStarts, QStringList{QStandardPaths::writableLocation(QStandardPaths::HomeLocation) + QDir::separator()});
    QCOMPARE(m_window->rememberedPath(), m_chosen);
    // The overlay has given the window back.
    QVERIFY(child<QWidget>("interfaceNormal")->isEnabled());
    QVERIFY(!child<QWidget>("interfaceBlocker")->isVisible());

    // A refused page: the failure text, without the code.
    m_sim->clearRequests();
    m_sim->addFault({BootloaderSim::FaultKind::RefuseCrc, 0x82, -1, 0});
    click("btnFirmware");
    QCOMPARE(status(), QStringLiteral("ERROR: unable to write Firmware"));
    QCOMPARE(statusStyle(), kRed);
    QCOMPARE(m_dialogStarts.last(), m_chosen);  // the next dialog starts at the last file
}

void TestMainWindowVeth::firmwareDialogCancelled()
{
    click("btnFirmware");  // m_chosen is empty: the dialog was cancelled
    QCOMPARE(m_dialogStarts.size(), 1);
    QCOMPARE(commands(), QList<uint8_t>({0x90}));  // caught, and nothing else
    QVERIFY(status().isEmpty());

    // Without an answer to the catch there is no dialog and no text.
    m_sim->addFault({BootloaderSim::FaultKind::Silence, 0x90, -1, 0});
    click("btnKeyUpdate");
    QCOMPARE(m_dialogStarts.size(), 1);
    QVERIFY(status().isEmpty());
}

// While an archive is written, what a click on the menu bar, the status bar
// or the label at the bottom reaches is the overlay: no menu opens (Help ->
// About would read the unit in the middle of the flash).
void TestMainWindowVeth::overlayTakesEveryClickDuringAWrite()
{
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    auto *overlay = child<QWidget>("interfaceBlocker");
    QMenuBar *menus = m_window->menuBar();
    QAction *help = menus->actions().last();
    QCOMPARE(help->text(), QStringLiteral("Help"));
    struct Place
    {
        QString name;
        QWidget *widget;
        QPoint point;  // in the widget
    };
    const QList<Place> places{
        {QStringLiteral("Help menu"), menus, menus->actionGeometry(help).center()},
        {QStringLiteral("status bar"), m_window->statusBar(), m_window->statusBar()->rect().center()},
        {QStringLiteral("bottom label"), child<QLabel>("label_3"), child<QLabel>("label_3")->rect().center()}};
    // The widget a click at the place reaches. The test screen is lower than
    // the window: for the look the window is moved so that the place lies
    // on the screen, and back.
    const auto reached = [this](const Place &place) {
        const QPoint home = m_window->pos();
        const QRect screen = m_window->screen()->geometry();
        const QPoint global = place.widget->mapToGlobal(place.point);
        if (!screen.contains(global))
            m_window->move(home + QPoint(0, screen.center().y() - global.y()));
        QWidget *hit = QApplication::widgetAt(place.widget->mapToGlobal(place.point));
        m_window->move(home);
        return hit;
    };
    // Before the write each place reaches its own widget.
    for (const Place &place : places)
        QVERIFY2(place.widget->isAncestorOf(reached(place)), qPrintable(place.name));

    // Looked at each time the write shows its progress.
    QStringList missed;
    int looks = 0;
    connect(child<QProgressBar>("progressBar"), &QProgressBar::valueChanged, this, [&] {
        if (!overlay->isVisible())
            return;
        ++looks;
        for (const Place &place : places) {
            QWidget *hit = reached(place);
            if (!overlay->isAncestorOf(hit))
                missed << QStringLiteral("%1: %2").arg(place.name, hit ? hit->objectName() : QStringLiteral("nothing"));
        }
        if (menus->isEnabled())
            missed << QStringLiteral("the menu bar's keys");
    });
    const QByteArray image = fixture::pattern(0x4000 * 3, 17);
    m_chosen = save(fixture::makeArchive(3, {{FirmwareSection::PagedImage, image}}), "window-overlay.fwa");
    click("btnFirmware");
    disconnect(child<QProgressBar>("progressBar"), &QProgressBar::valueChanged, this, nullptr);
    QCOMPARE(status(), QStringLiteral("Firmware successfully written"));
    QVERIFY(looks > 0);
    missed.removeDuplicates();
    QVERIFY2(missed.isEmpty(), qPrintable(missed.join(QStringLiteral("; "))));
    // Afterwards the window is the user's again.
    QVERIFY(menus->isEnabled());
    for (const Place &place : places)
        QVERIFY2(place.widget->isAncestorOf(reached(place)), qPrintable(place.name));
}

void TestMainWindowVeth::keyUpdateButton()
{
    const QByteArray block = fixture::pattern(600, 12);
    const QByteArray info = fixture::pattern(24, 13);
    m_chosen = save(fixture::makeArchive(2, {{FirmwareSection::SingleBlock, block}, {FirmwareSection::InfoBlock, info}}),
                    "window-keys.fwa");
    click("btnKeyUpdate");
    QCOMPARE(status(), QStringLiteral("Key Update successfully written"));
    QCOMPARE(statusStyle(), kGreen);
    QCOMPARE(m_sim->blocks().last(), block);
    QCOMPARE(m_sim->infoBlock(), info);

    // An archive without keys: the failure text ends in the code.
    m_chosen = save(fixture::makeArchive(3, {{FirmwareSection::PagedImage, fixture::pattern(10, 1)}}),
                    "window-nokeys.fwa");
    click("btnKeyUpdate");
    QCOMPARE(status(), QStringLiteral("ERROR: unable to write Key Update: -1003"));
    QCOMPARE(statusStyle(), kRed);
}

void TestMainWindowVeth::writeDefaultsButton()
{
    child<QLineEdit>("txtdefaultIP")->setText(QStringLiteral("192.168.000.100"));
    child<QLineEdit>("txtDeviceMac")->setText(QStringLiteral("0a:1B:2c:3D:4e:5F"));
    click("btnWriteDefaults");
    QCOMPARE(status(), QStringLiteral("Device Data successful written"));
    QCOMPARE(statusStyle(), kGreen);
    QCOMPARE(commands(), QList<uint8_t>({0x90, 0x60}));
    QCOMPARE(m_sim->requests().last().payload, QByteArray::fromHex("0A1B2C3D4E5FC0A80064"));
    QCOMPARE(m_sim->mac(), m_unitMac);
    QCOMPARE(m_sim->defaultIp(), QByteArray::fromHex("C0A80064"));

    // The unit keeps its first device data.
    click("btnWriteDefaults");
    QCOMPARE(status(), QStringLiteral("ERROR: Could not write device data. Already written?: -7"));
    QCOMPARE(statusStyle(), kRed);
}

void TestMainWindowVeth::netCfgButton()
{
    child<QLineEdit>("txtNetCfgTargetMAC")->setText(QStringLiteral("0A:1B:2C:3D:4E:5F"));
    child<QLineEdit>("txtNetCfgDesiredIP")->setText(QStringLiteral("192.168.0.100"));
    child<QLineEdit>("txtNetCfgDesiredSubNet")->setText(QStringLiteral("255.255.255.0"));
    click("btnNetCfg");
    QCOMPARE(m_sim->lastNetConfig(), QByteArray::fromHex("0A1B2C3D4E5F0200C0A80064FFFFFF00"));
    QVERIFY(m_sim->requestsFor(0xDF).first().broadcast);
    QVERIFY(status().isEmpty());  // no success text

    // Reset to defaults: mode 1, address and mask 0 whatever the fields hold
    // (even when they would not be valid).
    child<QLineEdit>("txtNetCfgDesiredIP")->setText(QStringLiteral("999.1.2.3"));
    child<QRadioButton>("rdoNetCfgToDefaults")->click();
    click("btnNetCfg");
    QCOMPARE(m_sim->lastNetConfig(), QByteArray::fromHex("0A1B2C3D4E5F01000000000000000000"));
    child<QRadioButton>("rdoNetCfgToBelow")->click();
}

void TestMainWindowVeth::invalidInputSendsNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("device MAC incomplete") << "btnWriteDefaults" << "txtDeviceMac" << "0A:1B:2C:3D:4E"
                                           << "ERROR: Please enter a valid MAC address";
    QTest::newRow("default IP part above 255") << "btnWriteDefaults" << "txtdefaultIP" << "192.168.0.300"
                                               << "ERROR: Please enter a valid ip address";
    QTest::newRow("net cfg MAC incomplete") << "btnNetCfg" << "txtNetCfgTargetMAC" << "0A:1B:2C"
                                            << "ERROR: Please enter a valid target mac address";
    QTest::newRow("net cfg mask incomplete") << "btnNetCfg" << "txtNetCfgDesiredSubNet" << "255.255"
                                             << "ERROR: Please enter a valid subnet mask";
}

void TestMainWindowVeth::invalidInputSendsNothing()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    const QString mac = QStringLiteral("0A:1B:2C:3D:4E:5F");
    child<QLineEdit>("txtDeviceMac")->setText(mac);
    child<QLineEdit>("txtdefaultIP")->setText(QStringLiteral("192.168.0.100"));
    child<QLineEdit>("txtNetCfgTargetMAC")->setText(mac);
    child<QLineEdit>("txtNetCfgDesiredIP")->setText(QStringLiteral("192.168.0.100"));
    child<QLineEdit>("txtNetCfgDesiredSubNet")->setText(QStringLiteral("255.255.255.0"));
    child<QLineEdit>(field.toLatin1().constData())->setText(text);
    click(button.toLatin1().constData());
    QCOMPARE(status(), message);
    QCOMPARE(statusStyle(), kRed);
    // A catch sent now travels the same way behind anything the refused
    // click might have sent: once it has arrived, it must be the first.
    click("btnCatchLoader");
    QTRY_VERIFY_WITH_TIMEOUT(!m_sim->requests().isEmpty(), 20000);
    QCOMPARE(commands(), QList<uint8_t>{0x90});
}

QTEST_MAIN(TestMainWindowVeth)
#include "tst_mainwindow_veth.moc"
