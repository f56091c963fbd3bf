#include <QtTest>

#include "bootloadersim.h"
#include "loaderfixture.h"
#include "testnet.h"

using namespace loader;

// The network configuration goes out as a broadcast; only the unit whose
// MAC address it names answers, and only the target's answer is taken.
class TestNetCfgVeth : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void matchingUnitAnswers();
    void otherMacStaysSilent();

private:
    QHostAddress m_unit = testnet::unitVethAddress(4);  // 198.18.0.6
    BootloaderSim *m_sim = nullptr;
    LoaderRig *m_rig = nullptr;
};

void TestNetCfgVeth::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    m_sim = new BootloaderSim(m_unit);
    m_sim->setMac(QByteArray::fromHex("0A1B2C3D4E5F"));
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));
    m_rig = new LoaderRig(testnet::toolVethAddress());
    QVERIFY(m_rig->isBound());
    m_rig->handler()->setTargetIP(m_unit);
}

void TestNetCfgVeth::cleanupTestCase()
{
    delete m_rig;
    delete m_sim;
}

void TestNetCfgVeth::matchingUnitAnswers()
{
    BCAST_NET_CONFIG cfg;
    const uint8_t mac[6] = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F};
    std::memcpy(cfg.mac, mac, 6);
    cfg.mode = BCAST_NET_CONFIG::UseGiven;
    const uint8_t ip[4] = {192, 168, 0, 100}, mask[4] = {255, 255, 255, 0};
    std::memcpy(cfg.ip, ip, 4);
    std::memcpy(cfg.subnet, mask, 4);
    QCOMPARE(m_rig->handler()->configureNetBCast(cfg), ERR_OK);
    QCOMPARE(m_sim->lastNetConfig(), QByteArray::fromHex("0A1B2C3D4E5F0200C0A80064FFFFFF00"));
    QVERIFY(!m_sim->requestsFor(0xDF).isEmpty());
    QVERIFY(m_sim->requestsFor(0xDF).first().broadcast);
}

void TestNetCfgVeth::otherMacStaysSilent()
{
    m_sim->clearRequests();
    BCAST_NET_CONFIG cfg;
    cfg.mode = BCAST_NET_CONFIG::ResetToDefaults;
    QCOMPARE(m_rig->handler()->configureNetBCast(cfg), ERR_TIMEOUT);
    QVERIFY(m_sim->requestsFor(0xDF).size() >= 2);  // heard, resent once, never answered
}

QTEST_MAIN(TestNetCfgVeth)
#include "tst_netcfg_veth.moc"
