// The connect dialog and its network interface selector against simulated
// units on the veth pair of the test namespace, by real broadcast.
#include <QComboBox>
#include <QLabel>
#include <QStackedWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>
#include <memory>
#include <vector>

#include "connectdialog.h"
#include "device.h"
#include "metatypes.h"
#include "nicselectwidget.h"
#include "testnet.h"
#include "unitsim.h"

namespace {

// Holds the GUI thread for a while when a widget is shown.
class SlowShow : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            QThread::msleep(250);
        return false;
    }
};

QVector<UnitSimRequest> discoveries(const UnitSim &unit)
{
    QVector<UnitSimRequest> out;
    for (const UnitSimRequest &r : unit.requestLog())
        if (r.command == 0xD1)
            out.append(r);
    return out;
}

QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(24, 24).toImage();
}

} // namespace

class TestConnectDialogVeth : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void selectorAnnouncesFirstEntry();
    void discoveryFillsTheList();
    void interfaceChangeRebinds();
    void noUnitGivesErrorText();
    void unitAnsweringTwiceIsListedTwice();
    void choosingRowOrManualEntry();
    void manualConnectStoresKorvantis();
    void manualAddresses_data();
    void manualAddresses();
    void doubleClickConnects();
    void linkIconOnlyWhenConnectedBefore();
    void cancelDisconnectsEarlyConnectHolds();

private:
    void startUnits(int count);
    // Makes the tool's side of the veth pair the chosen interface; that
    // change starts a discovery (run here when it was chosen already).
    void chooseInterface(Connectdialog &dialog, const QHostAddress &address);
    QComboBox *combo(QWidget &w) { return w.findChild<QComboBox *>(QStringLiteral("cmbNetworkInterface")); }
    QTableWidget *table(Connectdialog &d) { return d.findChild<QTableWidget *>(QStringLiteral("tblFoundDevices")); }
    QLineEdit *manualEdit(Connectdialog &d) { return d.findChild<QLineEdit *>(QStringLiteral("leditManIP")); }
    QPushButton *connectButton(Connectdialog &d) { return d.findChild<QPushButton *>(QStringLiteral("btnConnect")); }

    std::vector<std::unique_ptr<UnitSim>> m_units;
};

void TestConnectDialogVeth::initTestCase()
{
    registerMetaTypes();
    Device *device = Device::instance();
    LinkTimings t;
    t.baseTimeoutMs = 400;  // the discovery window and the request time-out
    t.heartbeatMs = 60000;
    t.watchdogMs = 60000;
    t.watchdogSingleCoreMs = 60000;
    device->ethernetHandler()->setTimings(t);
    device->startTransport();
}

void TestConnectDialogVeth::init()
{
    KORVANTIS_REQUIRE_TESTNET();
}

void TestConnectDialogVeth::cleanup()
{
    Device::instance()->ethernetHandler()->disconnectFromDevice();
    m_units.clear();
}

void TestConnectDialogVeth::startUnits(int count)
{
    for (int n = 0; n < count; ++n) {
        auto unit = std::make_unique<UnitSim>();
        unit->setAddress(testnet::unitVethAddress(n));
        unit->setPushInterval(0);
        QString error;
        QVERIFY2(unit->start(&error), qPrintable(error));
        m_units.push_back(std::move(unit));
    }
}

void TestConnectDialogVeth::chooseInterface(Connectdialog &dialog, const QHostAddress &address)
{
    QComboBox *box = combo(dialog);
    QVERIFY(box);
    int index = -1;
    for (int i = 0; i < box->count(); ++i)
        if (box->itemData(i).value<QNetworkAddressEntry>().ip() == address)
            index = i;
    QVERIFY2(index >= 0, "the interface is not offered");
    if (box->currentIndex() == index)
        dialog.on_btnDiscoverIPs_clicked();
    else
        box->setCurrentIndex(index);
}

void TestConnectDialogVeth::selectorAnnouncesFirstEntry()
{
    QSignalSpy rebinds(Device::instance(), &Device::setIPSlot);
    NicSelectWidget selector;
    QComboBox *box = combo(selector);
    QVERIFY(box->count() > 0);
    // Every construction announces its first entry.
    QVERIFY(rebinds.count() >= 1);
    const QHostAddress first = box->itemData(0).value<QNetworkAddressEntry>().ip();
    // In the test network the tool's side of the pair is listed first, so
    // the tool binds its own address, not a unit's.
    QCOMPARE(first, testnet::toolVethAddress());
    QCOMPARE(box->itemText(0), QStringLiteral("kvt-tool | IP: 198.18.0.1"));
    QCOMPARE(selector.currentAddressEntry().ip(), first);
    QTRY_COMPARE(Device::instance()->udpServer()->localAddress(), first);

    // Choosing another item announces that one, once.
    QVERIFY(box->count() > 1);
    QSignalSpy announced(&selector, &NicSelectWidget::currentAddrEntrychanged);
    box->setCurrentIndex(box->count() - 1);
    QCOMPARE(announced.count(), 1);
    QCOMPARE(announced.at(0).at(0).value<QNetworkAddressEntry>().ip(),
             box->itemData(box->count() - 1).value<QNetworkAddressEntry>().ip());
    // Only usable IPv4 addresses are offered.
    for (int i = 0; i < box->count(); ++i) {
        const QHostAddress ip = box->itemData(i).value<QNetworkAddressEntry>().ip();
        QCOMPARE(ip.protocol(), QAbstractSocket::IPv4Protocol);
        QVERIFY(!ip.isLoopback());
        QVERIFY(box->itemText(i).endsWith(QStringLiteral(" | IP: ") + ip.toString()));
    }
}

void TestConnectDialogVeth::discoveryFillsTheList()
{
    startUnits(2);
    Connectdialog dialog;
    chooseInterface(dialog, testnet::toolVethAddress());

    QTableWidget *t = table(dialog);
    QCOMPARE(t->rowCount(), 2);
    QVERIFY(t->isEnabled());
    QVERIFY(dialog.findChild<QToolButton *>(QStringLiteral("btnDiscoverIPs"))->isEnabled());
    QSet<QString> rows;
    for (int r = 0; r < 2; ++r) {
        const QString ip = t->item(r, 1)->text();
        const UnitSim &unit = *m_units[ip == m_units[0]->address().toString() ? 0 : 1];
        QCOMPARE(ip, unit.address().toString());
        QCOMPARE(t->item(r, 0)->text(), QStringLiteral("Korvantis PPU %1").arg(unit.address().toIPv4Address() & 0xFF));
        QCOMPARE(t->item(r, 0)->toolTip(), t->item(r, 0)->text());
        const auto mac = unit.macAddress();
        QCOMPARE(t->item(r, 2)->text(), QByteArray(reinterpret_cast<const char *>(mac.data()), 6).toHex('-').toUpper());
        QVERIFY(!(t->item(r, 0)->flags() & Qt::ItemIsEditable));
        rows.insert(ip);
    }
    QCOMPARE(rows.size(), 2);
    QCOMPARE(int(dialog.deviceList().size()), 2);

    // The request names the chosen interface's address and the port the
    // answers really come back to.
    const auto sent = discoveries(*m_units[0]);
    QVERIFY(!sent.isEmpty());
    const MG_Discover_Request_t request =
        MG_Discover_Request_t::fromBytes(reinterpret_cast<const uint8_t *>(sent.last().payload.constData()));
    QCOMPARE(QHostAddress(request.hostAddress), testnet::toolVethAddress());
    QCOMPARE(sent.last().source, testnet::toolVethAddress());
    QCOMPARE(request.replyPort, sent.last().sourcePort);
    QCOMPARE(QHostAddress(request.subnetMask), Device::instance()->confighandler()->getSubnetMask());
}

void TestConnectDialogVeth::interfaceChangeRebinds()
{
    startUnits(1);
    Connectdialog dialog;
    chooseInterface(dialog, testnet::toolVethAddress());
    QCOMPARE(table(dialog)->rowCount(), 1);

    // Another local address: the next request leaves from it, and names it
    // and the new port, although the rebind ran on the transport's thread.
    const QHostAddress other = testnet::unitVethAddress(7);
    m_units[0]->clearRequestLog();
    chooseInterface(dialog, other);
    const auto sent = discoveries(*m_units[0]);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).source, other);
    const MG_Discover_Request_t request =
        MG_Discover_Request_t::fromBytes(reinterpret_cast<const uint8_t *>(sent.at(0).payload.constData()));
    QCOMPARE(QHostAddress(request.hostAddress), other);
    QCOMPARE(request.replyPort, sent.at(0).sourcePort);
    QCOMPARE(Device::instance()->udpServer()->localAddress(), other);
    QCOMPARE(table(dialog)->rowCount(), 1);
}

void TestConnectDialogVeth::noUnitGivesErrorText()
{
    Connectdialog dialog;
    QSignalSpy errors(&dialog, &BaseWidget::printNotifyBarErrorwrapper);
    chooseInterface(dialog, testnet::toolVethAddress());
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toString(), QStringLiteral("Couldn't find any Devices. Errorcode:     -3e9"));
    QCOMPARE(table(dialog)->rowCount(), 0);
    QVERIFY(!table(dialog)->isEnabled());
    QVERIFY(dialog.findChild<QToolButton *>(QStringLiteral("btnDiscoverIPs"))->isEnabled());
    QVERIFY(dialog.findChild<NicSelectWidget *>()->isEnabled());
    QVERIFY(!connectButton(dialog)->isEnabled());
}

void TestConnectDialogVeth::unitAnsweringTwiceIsListedTwice()
{
    startUnits(1);
    m_units[0]->faults().duplicateAnswers = 1;
    Connectdialog dialog;
    chooseInterface(dialog, testnet::toolVethAddress());
    QCOMPARE(table(dialog)->rowCount(), 2);
    QCOMPARE(table(dialog)->item(0, 1)->text(), table(dialog)->item(1, 1)->text());
}

void TestConnectDialogVeth::choosingRowOrManualEntry()
{
    startUnits(2);
    Connectdialog dialog;
    chooseInterface(dialog, testnet::toolVethAddress());
    QTableWidget *t = table(dialog);
    QVERIFY(!connectButton(dialog)->isEnabled());

    t->setCurrentCell(1, 0);
    QCOMPARE(dialog.selectedRow(), 1);
    QVERIFY(!dialog.manualEntrySelected());
    QVERIFY(connectButton(dialog)->isEnabled());
    QCOMPARE(t->item(1, 0)->font().weight(), 75);

    // Typing clears the row choice.
    QTest::keyClicks(manualEdit(dialog), QStringLiteral("10"));
    QVERIFY(dialog.manualEntrySelected());
    QCOMPARE(dialog.selectedRow(), -1);
    QVERIFY(t->selectedItems().isEmpty());
    QVERIFY(connectButton(dialog)->isEnabled());

    // Choosing a row clears the manual state.
    t->setCurrentCell(0, 1);
    QCOMPARE(dialog.selectedRow(), 0);
    QVERIFY(!dialog.manualEntrySelected());

    // A press on the manual frame toggles its state.
    QWidget *frame = dialog.findChild<QWidget *>(QStringLiteral("frameManIP"));
    QTest::mousePress(frame, Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(dialog.manualEntrySelected());
    QCOMPARE(dialog.selectedRow(), -1);
    QCOMPARE(frame->property("isSelected").toBool(), true);
    QTest::mousePress(frame, Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(!dialog.manualEntrySelected());
    QVERIFY(!connectButton(dialog)->isEnabled());

    // Connect without a choice.
    QSignalSpy errors(&dialog, &BaseWidget::printNotifyBarErrorwrapper);
    dialog.on_btnConnect_clicked();
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toString(), QStringLiteral("No IP/PPU selected."));
}

void TestConnectDialogVeth::manualConnectStoresKorvantis()
{
    startUnits(1);
    Connectdialog dialog;
    chooseInterface(dialog, testnet::toolVethAddress());
    const QNetworkAddressEntry entry = dialog.findChild<NicSelectWidget *>()->currentAddressEntry();

    Confighandler *config = Device::instance()->confighandler();
    QSignalSpy changed(config, &Confighandler::ConfigConnectivitychanged);
    QSignalSpy finished(&dialog, &BaseDialog::DialogFinished);
    // Leading zeros are decimal: this is 198.18.0.2, not an octal reading.
    manualEdit(dialog)->setText(QStringLiteral("198.018.000.002"));
    QVERIFY(dialog.manualEntrySelected());
    dialog.on_btnConnect_clicked();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(dialog.dialogResult, 1);
    QCOMPARE(Device::instance()->ethernetHandler()->targetAddress(), m_units[0]->address());
    QCOMPARE(config->deviceName(), QStringLiteral("Korvantis"));
    // The zero byte the record counts does not reach the stored name.
    QCOMPARE(int(config->deviceNameRecord().toBytes().at(250)), 9);
    QCOMPARE(config->getIpAddress(), m_units[0]->address());
    QCOMPARE(config->getSubnetMask(), entry.netmask());
    QVERIFY(changed.count() >= 1);
    // Stored only: nothing was written to the unit.
    for (const UnitSimRequest &r : m_units[0]->requestLog())
        QVERIFY(r.command != 0xEF);
    // The heartbeat goes to the chosen unit.
    QTRY_VERIFY(Device::instance()->ethernetHandler()->isConnected());
}

void TestConnectDialogVeth::manualAddresses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("valid") << "198.18.0.2" << true;
    QTest::newRow("leading zeros") << "198.18.000.02" << true;
    QTest::newRow("out of range") << "198.18.0.300" << false;
    QTest::newRow("blank") << "  " << false;
    QTest::newRow("loopback") << "127.0.0.1" << false;
    QTest::newRow("three parts") << "198.18.2" << false;
}

void TestConnectDialogVeth::manualAddresses()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    startUnits(1);
    Connectdialog dialog;
    QSignalSpy errors(&dialog, &BaseWidget::printNotifyBarErrorwrapper);
    QSignalSpy finished(&dialog, &BaseDialog::DialogFinished);
    manualEdit(dialog)->setText(text);
    dialog.on_btnConnect_clicked();
    QCOMPARE(finished.count(), accepted ? 1 : 0);
    if (accepted) {
        QCOMPARE(Device::instance()->ethernetHandler()->targetAddress(), m_units[0]->address());
        return;
    }
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toString(), QStringLiteral("Invalid IP detected."));
    QCOMPARE(Device::instance()->ethernetHandler()->targetAddress(), QHostAddress(QHostAddress::LocalHost));

    // Leaving the field with the text: refused text is cleared with the
    // same message, a blank field only gives up the manual choice.
    errors.clear();
    dialog.leditManIP_editingFinished();
    QVERIFY(!dialog.manualEntrySelected());
    QCOMPARE(errors.count(), text.trimmed().isEmpty() ? 0 : 1);
    QVERIFY(text.trimmed().isEmpty() || manualEdit(dialog)->text().isEmpty());
}

void TestConnectDialogVeth::doubleClickConnects()
{
    startUnits(2);
    Connectdialog dialog;
    chooseInterface(dialog, testnet::toolVethAddress());
    manualEdit(dialog)->setText(QStringLiteral("10.0.0.1"));
    QSignalSpy finished(&dialog, &BaseDialog::DialogFinished);
    QTableWidget *t = table(dialog);
    dialog.on_tblFoundDevices_itemDoubleClicked(t->item(1, 2));
    QCOMPARE(finished.count(), 1);
    QVERIFY(manualEdit(dialog)->text().isEmpty());
    const QHostAddress chosen(t->item(1, 1)->text());
    QCOMPARE(Device::instance()->ethernetHandler()->targetAddress(), chosen);
    Confighandler *config = Device::instance()->confighandler();
    QCOMPARE(config->deviceName(), t->item(1, 0)->text());
    QCOMPARE(config->getIpAddress(), chosen);
    QCOMPARE(config->getSubnetMask(), QHostAddress(QStringLiteral("255.255.255.0")));
}

void TestConnectDialogVeth::linkIconOnlyWhenConnectedBefore()
{
    startUnits(2);
    const QImage link = iconImage(QIcon(QStringLiteral(":/res/baseline-link-24px.svg")));
    const QImage noLink = iconImage(QIcon(QStringLiteral(":/res/baseline-link-disconnected-24px.svg")));
    QVERIFY(link != noLink);
    Confighandler *config = Device::instance()->confighandler();
    config->setIpAddress(m_units[1]->address());
    config->setDevicename(QStringLiteral("Pump station north with a long name"));

    // Not connected: every row carries the no-link mark.
    {
        Connectdialog dialog;
        QCOMPARE(dialog.findChild<QStackedWidget *>()->currentWidget()->objectName(), QStringLiteral("pageNoConn"));
        chooseInterface(dialog, testnet::toolVethAddress());
        QCOMPARE(table(dialog)->rowCount(), 2);
        for (int r = 0; r < 2; ++r)
            QCOMPARE(iconImage(table(dialog)->item(r, 0)->icon()), noLink);
    }

    // Connected: the configured unit's row carries the link mark, and the
    // header names it.
    EthernetHandler *eth = Device::instance()->ethernetHandler();
    eth->setTargetIP(m_units[1]->address());
    QTRY_VERIFY(eth->isConnected());
    Connectdialog dialog;
    QCOMPARE(dialog.findChild<QStackedWidget *>()->currentWidget()->objectName(), QStringLiteral("pageConnected"));
    QLabel *status = dialog.findChild<QLabel *>(QStringLiteral("lblConnStatusConn"));
    QCOMPARE(status->text(), QStringLiteral("Connected to Pump station north with a lo ... | %1")
                                 .arg(m_units[1]->address().toString()));
    QCOMPARE(status->toolTip(), QStringLiteral("Pump station north with a long name"));
    chooseInterface(dialog, testnet::toolVethAddress());
    QCOMPARE(table(dialog)->rowCount(), 2);
    for (int r = 0; r < 2; ++r) {
        const bool current = table(dialog)->item(r, 1)->text() == m_units[1]->address().toString();
        QCOMPARE(iconImage(table(dialog)->item(r, 0)->icon()), current ? link : noLink);
    }
}

void TestConnectDialogVeth::cancelDisconnectsEarlyConnectHolds()
{
    startUnits(1);
    EthernetHandler *eth = Device::instance()->ethernetHandler();
    eth->setTargetIP(m_units[0]->address());
    QTRY_VERIFY(eth->isConnected());
    for (const char *button : {"btnCancel", "btnClose"}) {
        Connectdialog dialog;
        QTimer::singleShot(0, &dialog, [&dialog, button] {
            dialog.findChild<QAbstractButton *>(QString::fromLatin1(button))->click();
        });
        QCOMPARE(dialog.exec(), -1);
        QVERIFY(!eth->isConnected());
        QCOMPARE(eth->targetAddress(), QHostAddress(QHostAddress::LocalHost));
        QVERIFY(!dialog.isVisible());
    }

    // Connected within the first 100 ms: the discovery that was due does
    // not follow and drop the unit. The GUI thread is held up while the
    // dialog is shown (as on a busy machine), so that the connect and the
    // discovery's start fall due together.
    {
        Connectdialog dialog;
        SlowShow slow;
        dialog.installEventFilter(&slow);
        QTimer::singleShot(0, &dialog, [&dialog, this] {
            dialog.findChild<QLineEdit *>(QStringLiteral("leditManIP"))->setText(m_units[0]->address().toString());
            dialog.on_btnConnect_clicked();
        });
        m_units[0]->clearRequestLog();
        QCOMPARE(dialog.exec(), 1);
        QCOMPARE(eth->targetAddress(), m_units[0]->address());
        // The connect's heartbeat has arrived; a discovery would have been
        // sent before the dialog's end.
        QTRY_VERIFY_WITH_TIMEOUT(m_units[0]->countRequests(0x71) > 0, 20000);
        QVERIFY(discoveries(*m_units[0]).isEmpty());
        QCOMPARE(eth->targetAddress(), m_units[0]->address());
    }
}

QTEST_MAIN(TestConnectDialogVeth)
#include "tst_connectdialog_veth.moc"
