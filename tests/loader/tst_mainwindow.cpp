#include <QFrame>
#include <QtTest>

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>

#include "ethernethandler.h"
#include "addressinput.h"
#include "loaderfixture.h"
#include "loadermetatypes.h"
#include "loaderversion.h"
#include "mainwindow.h"

using namespace loader;

// The loader window without a socket: address texts, version texts, the form
// and the slots that need no unit. With no server behind the window nothing
// it asks the handler to send can leave the process; a spy on the handler's
// send signal sees every datagram it would send.
class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void adapterItemText_data();
    void adapterItemText();
    void normaliseAddress_data();
    void normaliseAddress();
    void macAndAddressInput_data();
    void macAndAddressInput();
    void versionTexts_data();
    void versionTexts();
    void form();
    void showLogTwiceKeepsWidth();
    void progressOverlay();
    void netCfgModeDisablesFields();
    void invalidInputSendsNothing_data();
    void invalidInputSendsNothing();
    void validInputIsSent();
    void sealingFromTheWindow();
    void cancelledHexDialogForgetsPath();
    void connectSetsTarget_data();
    void connectSetsTarget();
    void optionCodes_data();
    void optionCodes();

private:
    template <typename T> T *child(const char *name) const
    {
        T *w = m_window->findChild<T *>(QLatin1String(name));
        if (!w)
            qWarning() << "no child" << name;
        return w;
    }
    QString status() const { return m_window->statusBar()->currentMessage(); }
    QString statusStyle() const { return m_window->statusBar()->styleSheet(); }

    MainWindow *m_window = nullptr;
    QHostAddress m_savedTarget;
};

namespace {
char programName[] = "KorvantisLoader";
char *programArgv[] = {programName, nullptr};
const QString kRed = QStringLiteral("background-color: rgb( 255, 0, 0 );");
const QString kGreen = QStringLiteral("background-color: rgb( 0, 255, 0 );");
const QString kHome = QStandardPaths::writableLocation(QStandardPaths::HomeLocation) + QDir::separator();
} // namespace

void TestMainWindow::init()
{
    registerMetaTypes();
    m_savedTarget = EthernetHandler::instance()->targetIP();
    m_window = new MainWindow(nullptr, 1, programArgv);
}

void TestMainWindow::cleanup()
{
    delete m_window;
    m_window = nullptr;
    EthernetHandler::instance()->setTargetIP(m_savedTarget);
}

void TestMainWindow::adapterItemText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("text");
    QTest::newRow("short name, mixed widths") << "Ethernet" << "192.168.0.10" << "Ethernet  | IP: 192.168.  0. 10";
    QTest::newRow("one-digit bytes") << "eth0" << "1.2.3.4" << "eth0      | IP:   1.  2.  3.  4";
    QTest::newRow("name of exactly ten") << "Ethernet 2" << "10.0.0.255" << "Ethernet 2| IP:  10.  0.  0.255";
    QTest::newRow("long name is not cut") << "Wireless LAN adapter" << "172.16.5.1"
                                          << "Wireless LAN adapter| IP: 172. 16.  5.  1";
    QTest::newRow("empty name") << "" << "255.255.255.255" << "          | IP: 255.255.255.255";
}

void TestMainWindow::adapterItemText()
{
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(QString, text);
    QCOMPARE(addressinput::adapterItemText(name, QHostAddress(address)), text);
}

void TestMainWindow::normaliseAddress_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("normalised");
    QTest::newRow("leading zeros") << "192.168.000.010" << "192.168.0.10";
    QTest::newRow("above 255, empty part") << "300..7" << "255.0.7";
    QTest::newRow("all empty (blank mask)") << "..." << "0.0.0.0";
    QTest::newRow("every part too big") << "256.999.400.1000" << "255.255.255.255";
    QTest::newRow("zeros only") << "000.00.0.001" << "0.0.0.1";
    QTest::newRow("already clean") << "10.1.2.3" << "10.1.2.3";
    QTest::newRow("a fifth part is left alone") << "1.2.3.4.005" << "1.2.3.4.005";
}

void TestMainWindow::normaliseAddress()
{
    QFETCH(QString, typed);
    QFETCH(QString, normalised);
    QCOMPARE(MainWindow::normaliseAddressText(typed), normalised);
}

void TestMainWindow::macAndAddressInput_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");  // empty: refused
    QTest::newRow("mac") << "mac" << "0A:1b:2C:3d:4E:5F" << QByteArray::fromHex("0A1B2C3D4E5F");
    QTest::newRow("mac, one byte set") << "mac" << "00:00:00:00:00:01" << QByteArray::fromHex("000000000001");
    QTest::newRow("mac blank mask") << "mac" << ":::::" << QByteArray();
    QTest::newRow("mac all zero") << "mac" << "00:00:00:00:00:00" << QByteArray();
    QTest::newRow("mac half pair") << "mac" << "0A:1B:2C:3D:4E:5" << QByteArray();
    QTest::newRow("mac five pairs") << "mac" << "0A:1B:2C:3D:4E" << QByteArray();
    QTest::newRow("mac seven pairs") << "mac" << "0A:1B:2C:3D:4E:5F:60" << QByteArray();
    QTest::newRow("mac not hex") << "mac" << "0A:1B:2C:3D:4E:ZZ" << QByteArray();
    QTest::newRow("ip") << "ip" << "192.168.0.100" << QByteArray::fromHex("C0A80064");
    QTest::newRow("ip zeros allowed") << "ip" << "0.0.0.0" << QByteArray::fromHex("00000000");
    QTest::newRow("ip leading zeros") << "ip" << "010.001.000.255" << QByteArray::fromHex("0A0100FF");
    QTest::newRow("ip part above 255") << "ip" << "192.168.0.256" << QByteArray();
    QTest::newRow("ip empty part") << "ip" << "192.168..1" << QByteArray();
    QTest::newRow("ip blank mask") << "ip" << "..." << QByteArray();
    QTest::newRow("ip three parts") << "ip" << "192.168.1" << QByteArray();
    QTest::newRow("ip five parts") << "ip" << "1.2.3.4.5" << QByteArray();
    QTest::newRow("ip sign") << "ip" << "1.2.3.+4" << QByteArray();
}

void TestMainWindow::macAndAddressInput()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    uint8_t out[6];
    std::memset(out, 0xEE, sizeof out);
    const bool ok = kind == "mac" ? addressinput::parseMac(text, out) : addressinput::parseIPv4(text, out);
    const int size = kind == "mac" ? 6 : 4;
    QCOMPARE(ok, !bytes.isEmpty());
    if (ok)
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(out), size), bytes);
    else  // a refused text leaves the output as it was
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(out), size), QByteArray(size, char(0xEE)));
}

void TestMainWindow::versionTexts_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("build");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("title");
    QTest::newRow("this build") << 3 << 10 << "1204" << "3.10-00001204" << "KorvantisLoader  3.10-00001204";
    QTest::newRow("one-digit minor") << 1 << 2 << "345" << "1.02-00000345" << "KorvantisLoader  1.02-00000345";
    QTest::newRow("modified, lower case") << 3 << 10 << "1204m" << "3.10-00001204" << "KorvantisLoader  3.10-00001204M";
    QTest::newRow("modified, upper case") << 3 << 10 << "1205M" << "3.10-00001205" << "KorvantisLoader  3.10-00001205M";
}

void TestMainWindow::versionTexts()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, build);
    QFETCH(QString, version);
    QFETCH(QString, title);
    QCOMPARE(loaderversion::versionText(major, minor, build), version);
    QCOMPARE(loaderversion::windowTitle(major, minor, build), title);
    QCOMPARE(loaderversion::isModified(build), title.endsWith('M'));
}

void TestMainWindow::form()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("KorvantisLoader  3.10-00001204"));
    QVERIFY(!m_window->windowIcon().isNull());
    QCOMPARE(m_window->rememberedPath(), kHome);
    QCOMPARE(child<QTabWidget>("tab")->currentWidget()->objectName(), QStringLiteral("widget"));
    QCOMPARE(child<QTabWidget>("tab")->tabText(0), QStringLiteral("P-Module"));
    QCOMPARE(child<QLineEdit>("txtTargetIP")->text(), QStringLiteral("192.168.0.100"));
    QCOMPARE(child<QLineEdit>("txtTargetIP")->inputMask(), QStringLiteral("000.000.000.000"));
    QCOMPARE(child<QLineEdit>("txtDeviceMac")->inputMask(), QStringLiteral("HH:HH:HH:HH:HH:HH"));
    QCOMPARE(child<QLineEdit>("txtNetCfgDesiredSubNet")->text(), QStringLiteral("255.255.255.0"));
    QVERIFY(child<QRadioButton>("rdoNetCfgToBelow")->isChecked());
    QCOMPARE(child<QComboBox>("cmbAdapter")->font().family(), QStringLiteral("Courier New"));
    QVERIFY(!child<QTextEdit>("CANLog")->textInteractionFlags().testFlag(Qt::TextEditable));
    QCOMPARE(child<QPushButton>("btnShowLog")->text(), QStringLiteral("Hide Log"));
    QCOMPARE(child<QLabel>("label_3")->text(), QStringLiteral("Uses software under LGPL"));
    QCOMPARE(child<QWidget>("GUIStack")->property("currentIndex").toInt(), 0);
    QVERIFY(child<QWidget>("interfaceNormal")->isEnabled());
    QVERIFY(m_window->menuBar()->isEnabled());
    const QList<QAction *> menus = m_window->menuBar()->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus.at(0)->text(), QStringLiteral("Language"));
    QCOMPARE(menus.at(1)->text(), QStringLiteral("Help"));
    QStringList help;
    for (QAction *a : menus.at(1)->menu()->actions())
        help << a->text();
    QCOMPARE(help, QStringList({"About", "License"}));
    // One item per adapter address, none of them loopback.
    QCOMPARE(child<QComboBox>("cmbAdapter")->count(), m_window->adapters().size());
    for (const QHostAddress &a : m_window->adapters())
        QVERIFY(!a.isLoopback() && a.protocol() == QAbstractSocket::IPv4Protocol);
}

void TestMainWindow::showLogTwiceKeepsWidth()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    const QSize before = m_window->size();
    auto *debug = child<QGroupBox>("grpDebug");
    auto *button = child<QPushButton>("btnShowLog");
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!debug->isVisible());
    QCOMPARE(button->text(), QStringLiteral("Show Log"));
    QVERIFY(m_window->width() < before.width());
    QCOMPARE(m_window->height(), before.height());
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(debug->isVisible());
    QCOMPARE(button->text(), QStringLiteral("Hide Log"));
    QCOMPARE(m_window->size(), before);
}

void TestMainWindow::progressOverlay()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    auto *blocker = child<QWidget>("interfaceBlocker");
    auto *normal = child<QWidget>("interfaceNormal");
    m_window->showProgress(QStringLiteral("Flashing"), 150, true);
    QVERIFY(blocker->isVisible());
    QVERIFY(!normal->isEnabled());
    QCOMPARE(child<QProgressBar>("progressBar")->value(), 100);
    QCOMPARE(child<QLabel>("lblProgress")->text(), QStringLiteral("Flashing"));
    m_window->showProgress(QStringLiteral("Flashing"), 42, true);
    QCOMPARE(child<QProgressBar>("progressBar")->value(), 42);
    // The grey band with its text lies centred on the window, not shifted
    // by the margins the stack sits in.
    auto *band = child<QFrame>("frame");
    const QPoint bandCentre = band->mapTo(m_window, band->rect().center());
    const QPoint windowCentre = m_window->rect().center();
    QVERIFY2(qAbs(bandCentre.x() - windowCentre.x()) <= 1 && qAbs(bandCentre.y() - windowCentre.y()) <= 1,
             qPrintable(QStringLiteral("band centre %1,%2, window centre %3,%4")
                            .arg(bandCentre.x()).arg(bandCentre.y()).arg(windowCentre.x()).arg(windowCentre.y())));
    m_window->showProgress(QString(), 0, false);
    QVERIFY(!blocker->isVisible());
    QVERIFY(normal->isEnabled());
}

void TestMainWindow::netCfgModeDisablesFields()
{
    auto *ip = child<QLineEdit>("txtNetCfgDesiredIP");
    auto *mask = child<QLineEdit>("txtNetCfgDesiredSubNet");
    child<QRadioButton>("rdoNetCfgToDefaults")->click();
    QVERIFY(!ip->isEnabled() && !mask->isEnabled());
    child<QRadioButton>("rdoNetCfgToBelow")->click();
    QVERIFY(ip->isEnabled() && mask->isEnabled());
}

void TestMainWindow::invalidInputSendsNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("mac");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("message");
    // Each group names its own field: the MAC and default IP group the
    // unit's MAC, Net Cfg the target's.
    const QString badMac = QStringLiteral("ERROR: Please enter a valid MAC address");
    const QString badTargetMac = QStringLiteral("ERROR: Please enter a valid target mac address");
    const QString badIp = QStringLiteral("ERROR: Please enter a valid ip address");
    const QString badMask = QStringLiteral("ERROR: Please enter a valid subnet mask");
    const QString mac = QStringLiteral("0A:1B:2C:3D:4E:5F");
    QTest::newRow("write: blank MAC") << "btnWriteDefaults" << "" << "192.168.0.100" << "" << badMac;
    QTest::newRow("write: short MAC") << "btnWriteDefaults" << "0A:1B:2C:3D:4E" << "192.168.0.100" << "" << badMac;
    QTest::newRow("write: zero MAC") << "btnWriteDefaults" << "00:00:00:00:00:00" << "192.168.0.100" << "" << badMac;
    QTest::newRow("write: half-typed IP") << "btnWriteDefaults" << mac << "192.168" << "" << badIp;
    QTest::newRow("write: IP part 256") << "btnWriteDefaults" << mac << "192.168.0.256" << "" << badIp;
    QTest::newRow("netcfg: short MAC") << "btnNetCfg" << "0A:1B:2C" << "192.168.0.100" << "255.255.255.0"
                                       << badTargetMac;
    QTest::newRow("netcfg: one digit") << "btnNetCfg" << "0A:1B:2C:3D:4E:5" << "192.168.0.100" << "255.255.255.0"
                                       << badTargetMac;
    QTest::newRow("netcfg: IP 999") << "btnNetCfg" << mac << "999.168.0.100" << "255.255.255.0" << badIp;
    QTest::newRow("netcfg: blank IP") << "btnNetCfg" << mac << "" << "255.255.255.0" << badIp;
    QTest::newRow("netcfg: mask 256") << "btnNetCfg" << mac << "192.168.0.100" << "255.255.256.0" << badMask;
    QTest::newRow("netcfg: mask part missing") << "btnNetCfg" << mac << "192.168.0.100" << "255.255..0" << badMask;
}

void TestMainWindow::invalidInputSendsNothing()
{
    QFETCH(QString, button);
    QFETCH(QString, mac);
    QFETCH(QString, ip);
    QFETCH(QString, mask);
    QFETCH(QString, message);
    const bool write = button == "btnWriteDefaults";
    child<QLineEdit>(write ? "txtDeviceMac" : "txtNetCfgTargetMAC")->setText(mac);
    child<QLineEdit>(write ? "txtdefaultIP" : "txtNetCfgDesiredIP")->setText(ip);
    child<QLineEdit>("txtNetCfgDesiredSubNet")->setText(mask);
    QSignalSpy sent(EthernetHandler::instance(), &EthernetHandler::sendPacketSignal);
    child<QPushButton>(button.toLatin1().constData())->click();
    QCOMPARE(status(), message);
    QCOMPARE(statusStyle(), kRed);
    QCoreApplication::processEvents();
    QCOMPARE(sent.count(), 0);
}

void TestMainWindow::validInputIsSent()
{
    // The counterpart of the test above: with valid input the datagrams are
    // built (nothing is behind the window, so they go nowhere and time out).
    QList<QPair<QByteArray, QHostAddress>> sent;
    const auto connection = connect(EthernetHandler::instance(), &EthernetHandler::sendPacketSignal, this,
                                    [&](QByteArray datagram, QHostAddress to) { sent.append({datagram, to}); });
    child<QLineEdit>("txtNetCfgTargetMAC")->setText(QStringLiteral("0A:1B:2C:3D:4E:5F"));
    child<QPushButton>("btnNetCfg")->click();
    disconnect(connection);
    QVERIFY(!sent.isEmpty());
    QCOMPARE(sent.first().second, QHostAddress(QHostAddress::Broadcast));
    QVERIFY(sent.first().first.contains(QByteArray::fromHex("0A1B2C3D4E5F0200C0A80064FFFFFF00")));
    QVERIFY(status().isEmpty());  // no success text, no error text
}

void TestMainWindow::sealingFromTheWindow()
{
    const QString hex = fixture::tempPath("window.hex");
    {
        QFile f(hex);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(":020000040801F1\n:0440000001020304B2\n:00000001FF\n");
    }
    QStringList starts;
    m_window->setFileChooser([&](QWidget *, const QString &caption, const QString &start, const QString &filter) {
        starts << start;
        if (caption != QLatin1String("Select Firmware file to update") || filter != QLatin1String(".hex Files ( *.hex )"))
            return QString();
        return starts.size() == 1 ? hex : fixture::tempPath("missing.hex");
    });
    child<QPushButton>("btnGenFirmwareMagic")->click();
    QTRY_COMPARE(status(), QStringLiteral("Successfully updated ") + hex);
    QCOMPARE(statusStyle(), kGreen);
    QFile sealed(hex);
    QVERIFY(sealed.open(QIODevice::ReadOnly));
    QVERIFY(sealed.size() > 1000);  // filled up to the whole region and sealed
    QCOMPARE(m_window->rememberedPath(), hex);

    child<QPushButton>("btnGenFirmwareMagic")->click();
    QCOMPARE(starts.at(1), hex);  // starts at the file chosen last
    QTRY_COMPARE(status(), QStringLiteral("Unable to read ") + fixture::tempPath("missing.hex"));
    QCOMPARE(statusStyle(), kRed);
}

void TestMainWindow::cancelledHexDialogForgetsPath()
{
    QStringList starts;
    m_window->setFileChooser([&](QWidget *, const QString &, const QString &start, const QString &) {
        starts << start;
        return QString();
    });
    QSignalSpy quit(m_window, &MainWindow::quitCMDLineApplication);
    child<QPushButton>("btnGenFirmwareMagic")->click();
    QCOMPARE(starts.at(0), kHome);
    QVERIFY(m_window->rememberedPath().isEmpty());
    QTRY_COMPARE(quit.count(), 1);
    QCOMPARE(quit.first().at(0).toInt(), int(ERR_BAD_CONTENT));
    QVERIFY(status().isEmpty());  // a cancelled dialog gives no text
    child<QPushButton>("btnGenFirmwareMagic")->click();
    QCOMPARE(starts.at(1), kHome + QStringLiteral("firmware.hex"));
}

void TestMainWindow::connectSetsTarget_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("target");
    QTest::newRow("leading zeros") << "192.168.000.010" << "192.168.0.10";
    QTest::newRow("too big") << "300.1.2.3" << "255.1.2.3";
    QTest::newRow("blank") << "" << "0.0.0.0";
}

void TestMainWindow::connectSetsTarget()
{
    QFETCH(QString, typed);
    QFETCH(QString, target);
    child<QLineEdit>("txtTargetIP")->setText(typed);
    child<QPushButton>("btnConnect")->click();
    QCOMPARE(EthernetHandler::instance()->targetIP(), QHostAddress(target));
}

void TestMainWindow::optionCodes_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("code");
    QTest::newRow("-h") << "-h" << 0;
    QTest::newRow("-T") << "-T" << 1;
    QTest::newRow("-s") << "-s" << 2;
    QTest::newRow("-f") << "-f" << 3;
    QTest::newRow("-K") << "-K" << 4;
    QTest::newRow("-l") << "-l" << 5;
    QTest::newRow("-C") << "-C" << 6;
    QTest::newRow("-rC") << "-rC" << 7;
    QTest::newRow("-m") << "-m" << 8;
    QTest::newRow("-r") << "-r" << -1;
    QTest::newRow("h") << "h" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestMainWindow::optionCodes()
{
    QFETCH(QString, word);
    QFETCH(int, code);
    QCOMPARE(MainWindow::optionCode(word), code);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
