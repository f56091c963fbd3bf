// Reading the log from the simulated unit on a loopback address, through
// the program's one Device, as the log page does.
#include <QDataStream>
#include <QtTest>

#include "requestlog.h"
#include "device.h"
#include "logfixture.h"
#include "loghandlercont.h"
#include "metatypes.h"
#include "testnet.h"
#include "unitsim.h"
#include "unitsimblocks.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.6.2"));
constexpr int kRecords = 3000;

} // namespace

class TestLogRead : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void readsTheWholeLog();
    void failedTransferKeepsLogAndIdentification();
    void failedIdentificationKeepsTheLog();
    void secondReadDuringAReadIsRefused();
    void noTreeSendsNothing();

private:
    LoghandlerCont &handler() { return LoghandlerCont::instance(); }
    EthernetHandler *link() { return Device::instance()->ethernetHandler(); }
    // The records of the shown tree, as the LOG file would hold them.
    QByteArray shownRecords() const { return serialized(*m_tree->rootItem()).mid(4); }

    UnitSim m_sim;
    TreeModel *m_tree = nullptr;
};

void TestLogRead::initTestCase()
{
    registerMetaTypes();
    m_sim.setPushInterval(0);
    QString error;
    QVERIFY2(m_sim.startQuiet(kUnit, &error), qPrintable(error));
    UnitSimBlocks::of(&m_sim)->setLogRecords(kRecords);
    LinkTimings t;
    t.baseTimeoutMs = 200;
    t.heartbeatMs = 60000;
    t.watchdogMs = 60000;
    t.watchdogSingleCoreMs = 60000;
    link()->setTimings(t);
    Device::instance()->startTransport();
    link()->setTargetIP(kUnit);
    QTRY_VERIFY_WITH_TIMEOUT(link()->isConnected(), 20000);
}

void TestLogRead::cleanupTestCase()
{
    link()->disconnectFromDevice();
}

void TestLogRead::init()
{
    m_tree = new TreeModel;
    handler().setTreeModel(m_tree);
    m_sim.clearErrorStatus();
    m_sim.clearRequestLog();
}

void TestLogRead::cleanup()
{
    handler().setTreeModel(nullptr);
    delete m_tree;
}

void TestLogRead::readsTheWholeLog()
{
    QCOMPARE(handler().readLog(), ERR_OK);
    // The information entry, then every record before the erased slots.
    QCOMPARE(m_tree->rowCount(), kRecords + 1);
    const QByteArray area = UnitSimBlocks::of(&m_sim)->logArea();
    QCOMPARE(shownRecords(), area.left(kRecords * LogRecord::kSize));
    QCOMPARE(handler().deviceIdentification().toByteArray(), m_sim.productInfo().toByteArray());
    QCOMPARE(m_tree->index(0, 1).data().toString(), QStringLiteral("Generell System Information "));
    // The filters found the simulated log's lubrication events and errors.
    const SkwHistory &h = handler().skwHistory();
    QVERIFY(h.channels[0].size() > kRecords / 4);
    QVERIFY(!h.errors.isEmpty());
    QVERIFY(!h.configurations.isEmpty());
    QCOMPARE(distinctRequests(m_sim.requestLog(), 0xE0), 1);
}

void TestLogRead::failedTransferKeepsLogAndIdentification()
{
    QCOMPARE(handler().readLog(), ERR_OK);
    const QByteArray shown = shownRecords();
    const ProductInfoRecord before = handler().deviceIdentification();
    const SkwHistory history = handler().skwHistory();

    // Another unit answers the identification, then fails the transfer.
    const ProductInfoRecord original = m_sim.productInfo();
    m_sim.productInfo().firmwareBuild = 4242;
    m_sim.setErrorStatus(0x11, -1, -1301);
    QCOMPARE(handler().readLog(), errorCode_e(-1301));
    m_sim.productInfo() = original;

    QCOMPARE(shownRecords(), shown);
    QCOMPARE(handler().deviceIdentification().toByteArray(), before.toByteArray());
    QCOMPARE(handler().skwHistory(), history);
    QVERIFY(!handler().isBusy());
}

void TestLogRead::failedIdentificationKeepsTheLog()
{
    QCOMPARE(handler().readLog(), ERR_OK);
    const QByteArray shown = shownRecords();
    m_sim.setErrorStatus(0xE0, -1, ERR_TIMEOUT);
    m_sim.clearRequestLog();
    QCOMPARE(handler().readLog(), ERR_TIMEOUT);
    QCOMPARE(shownRecords(), shown);
    // No transfer follows a failed identification.
    QCOMPARE(m_sim.countRequests(0x11), 0);
}

void TestLogRead::secondReadDuringAReadIsRefused()
{
    // The link's own progress of the transfer runs inside the first read;
    // a click that arrives then starts a second read.
    errorCode_e nested = ERR_OK;
    int tries = 0;
    auto connection = connect(link(), &EthernetHandler::updateProgressbar, this, [&] {
        if (tries++ == 0)
            nested = handler().readLog();
    });
    QCOMPARE(handler().readLog(), ERR_OK);
    disconnect(connection);
    QVERIFY(tries > 0);
    QCOMPARE(nested, ERR_ALREADY_WAITING);
    QCOMPARE(m_tree->rowCount(), kRecords + 1);
    QCOMPARE(distinctRequests(m_sim.requestLog(), 0xE0), 1);
}

void TestLogRead::noTreeSendsNothing()
{
    handler().setTreeModel(nullptr);
    QCOMPARE(handler().readLog(), ERR_INVALID_PARAM);
    QCOMPARE(m_sim.countRequests(0xE0), 0);
    QCOMPARE(m_sim.countRequests(0x11), 0);
}

QTEST_MAIN(TestLogRead)
#include "tst_logread.moc"
