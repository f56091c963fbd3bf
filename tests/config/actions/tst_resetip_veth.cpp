#include <QLineEdit>
#include <QNetworkAddressEntry>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "device.h"
#include "fieldbusfixture.h"
#include "metatypes.h"
#include "resetipwidget.h"
#include "testnet.h"

// The network reset page broadcasting to a simulated unit on the veth pair:
// the unit with the MAC takes the settings, every outcome is reported, and a
// MAC that cannot be meant sends nothing.
class TestResetIpVeth : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void unitTakesTheGivenSettings();
    void unitReturnsToItsDefaults();
    void nobodyAnswersIsReported();
    void incompleteMacSendsNothing();

private:
    void apply() { QTest::mouseClick(m_page->findChild<QPushButton *>("btnApplySet"), Qt::LeftButton); }
    void setMac(const std::array<uint8_t, 6> &mac);
    int broadcasts() const { return m_sim->countRequests(EthernetHandler::CmdNetConfig); }

    std::unique_ptr<UnitSim> m_sim;
    std::unique_ptr<ResetIpWidget> m_page;
};

void TestResetIpVeth::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    registerMetaTypes();
    m_sim = std::make_unique<UnitSim>();
    m_sim->setAddress(testnet::unitVethAddress(0));
    m_sim->setPushInterval(0);
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));
    Device *device = Device::instance();
    LinkTimings timings;
    timings.baseTimeoutMs = 150;
    device->ethernetHandler()->setTimings(timings);
    device->startTransport();
    m_page = std::make_unique<ResetIpWidget>();
    // The broadcast leaves on the veth side, as the page's interface
    // selector would have it.
    QNetworkAddressEntry entry;
    entry.setIp(testnet::toolVethAddress());
    device->currentNetworkEntrychanged(entry);
    QTRY_COMPARE(device->udpServer()->localAddress(), testnet::toolVethAddress());
}

void TestResetIpVeth::init()
{
    m_sim->clearRequestLog();
    m_sim->parameters().setIpAddress(m_sim->address());
    m_sim->parameters().setNetmask(QHostAddress(QStringLiteral("255.255.255.0")));
}

void TestResetIpVeth::setMac(const std::array<uint8_t, 6> &mac)
{
    QStringList parts;
    for (uint8_t b : mac)
        parts << QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    m_page->findChild<QLineEdit *>("leditMAC")->setText(parts.join(QLatin1Char(':')));
}

void TestResetIpVeth::unitTakesTheGivenSettings()
{
    setMac(m_sim->macAddress());
    m_page->findChild<QRadioButton *>("rdioBtnNewNetwork")->setChecked(true);
    m_page->findChild<QLineEdit *>("leditnewIP")->setText(QStringLiteral("198.018.000.077"));
    m_page->findChild<QLineEdit *>("leditnewSubnet")->setText(QStringLiteral("255.255.000.000"));
    Messages messages(m_page.get());
    apply();
    QVERIFY2(messages.errors.isEmpty(), qPrintable(messages.errors.join('\n')));
    QCOMPARE(messages.successes.size(), 1);
    QCOMPARE(m_sim->parameters().ipAddress(), QHostAddress(QStringLiteral("198.18.0.77")));
    QCOMPARE(m_sim->parameters().netmask(), QHostAddress(QStringLiteral("255.255.0.0")));
}

void TestResetIpVeth::unitReturnsToItsDefaults()
{
    m_sim->parameters().setIpAddress(QHostAddress(QStringLiteral("198.18.0.99")));
    setMac(m_sim->macAddress());
    m_page->findChild<QRadioButton *>("rdioBtnDefNetwork")->setChecked(true);
    Messages messages(m_page.get());
    apply();
    QCOMPARE(messages.successes.size(), 1);
    QCOMPARE(m_sim->parameters().ipAddress(), m_sim->address());
    const QByteArray sent = m_sim->requestLog().last().payload;
    QCOMPARE(sent.mid(6, 2).toHex(), QByteArray("0100"));
}

void TestResetIpVeth::nobodyAnswersIsReported()
{
    setMac({{0x0e, 0, 0, 0, 0, 0x42}});
    Messages messages(m_page.get());
    apply();
    QCOMPARE(messages.errors.size(), 1);
    QVERIFY2(messages.errors.first().endsWith(QStringLiteral("Error: timeout happend Errorcode: -26")),
             qPrintable(messages.errors.first()));
    QVERIFY(messages.successes.isEmpty());
    QCOMPARE(m_sim->parameters().ipAddress(), m_sim->address());
}

void TestResetIpVeth::incompleteMacSendsNothing()
{
    m_page->findChild<QLineEdit *>("leditMAC")->setText(QStringLiteral("00:1A:2B:::"));
    Messages messages(m_page.get());
    apply();
    QCOMPARE(messages.errors.size(), 1);
    QCOMPARE(broadcasts(), 0);
}

QTEST_MAIN(TestResetIpVeth)
#include "tst_resetip_veth.moc"
