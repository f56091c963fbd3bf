// The log page against the simulated unit on a loopback address.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "channelenablebar.h"
#include "device.h"
#include "linegraph.h"
#include "loghandlercont.h"
#include "logtab.h"
#include "metatypes.h"
#include "unitsim.h"
#include "unitsimblocks.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.6.3"));

// The page with its file dialog answered by the test.
class Page : public LogTab
{
public:
    QString csvName;

protected:
    QString chooseCsvFile() override { return csvName; }
};

HearBeatMessage_t heartbeat(uint32_t time, uint8_t dataControl = 0)
{
    HearBeatMessage_t h;
    h.deviceTime = time;
    h.dataControl = dataControl;
    return h;
}

} // namespace

class TestLogTab : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void deviceTime_data();
    void deviceTime();
    void heartbeatsEnableAndDisable();
    void lostLinkKeepsTheFilesUsable();
    void tabs();
    void readShowsTreeAndGraph();
    void heartbeatDuringARead();
    void failedReadIsReported();
    void csvExport();

private:
    template<typename T>
    T *child(const char *name)
    {
        return m_page->findChild<T *>(QLatin1String(name));
    }
    QStringList errors() const;

    UnitSim m_sim;
    Page *m_page = nullptr;
    QSignalSpy *m_errors = nullptr;
    QTemporaryDir m_dir;
};

void TestLogTab::initTestCase()
{
    registerMetaTypes();
    m_sim.setPushInterval(0);
    QString error;
    QVERIFY2(m_sim.startQuiet(kUnit, &error), qPrintable(error));
    UnitSimBlocks::of(&m_sim)->setLogRecords(600);
    EthernetHandler *link = Device::instance()->ethernetHandler();
    LinkTimings t;
    t.baseTimeoutMs = 200;
    t.heartbeatMs = 60000;
    t.watchdogMs = 60000;
    t.watchdogSingleCoreMs = 60000;
    link->setTimings(t);
    Device::instance()->startTransport();
    link->setTargetIP(kUnit);
    QTRY_VERIFY_WITH_TIMEOUT(link->isConnected(), 3000);
}

void TestLogTab::cleanupTestCase()
{
    Device::instance()->ethernetHandler()->disconnectFromDevice();
}

void TestLogTab::init()
{
    m_sim.clearErrorStatus();
    m_page = new Page;
    m_errors = new QSignalSpy(m_page, &BaseWidget::printNotifyBarErrorwrapper);
}

void TestLogTab::cleanup()
{
    delete m_errors;
    delete m_page;
}

QStringList TestLogTab::errors() const
{
    QStringList out;
    for (const auto &call : *m_errors)
        out << call.at(0).toString();
    return out;
}

void TestLogTab::deviceTime_data()
{
    QTest::addColumn<uint>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0u << " 00:000 \t 00:00:00 ";
    QTest::newRow("years wrap at 100") << (31536000u * 101 + 86400u * 2 + 3600u * 5 + 60u * 6 + 7)
                                       << " 01:002 \t 05:06:07 ";
    QTest::newRow("largest") << 0xFFFFFFFFu << " 36:070 \t 06:28:15 ";
}

void TestLogTab::deviceTime()
{
    QFETCH(uint, seconds);
    QFETCH(QString, text);
    QCOMPARE(LogTab::deviceTimeText(seconds), text);
    HearBeatMessage_t h = heartbeat(seconds);
    m_page->connectionsuccesfull(h, kUnit);
    QCOMPARE(child<QLabel>("lblSystemtimetxt")->text(), text);
}

void TestLogTab::heartbeatsEnableAndDisable()
{
    QCOMPARE(child<QLabel>("lblSystemtimetxt")->text(), QStringLiteral(" --:--- \t --:--:-- "));
    QVERIFY(!child<QPushButton>("btnGetLog")->isEnabled());
    HearBeatMessage_t locked = heartbeat(5, 0x21);  // low nibble 1: the page is off limits
    m_page->connectionsuccesfull(locked, kUnit);
    QVERIFY(!m_page->isEnabled());
    HearBeatMessage_t free = heartbeat(6, 0x12);
    m_page->connectionsuccesfull(free, kUnit);
    QVERIFY(m_page->isEnabled());
    QVERIFY(child<QPushButton>("btnGetLog")->isEnabled());
}

void TestLogTab::lostLinkKeepsTheFilesUsable()
{
    HearBeatMessage_t h = heartbeat(60);
    m_page->connectionsuccesfull(h, kUnit);
    m_page->lostconnection();
    QVERIFY(!child<QPushButton>("btnGetLog")->isEnabled());
    QCOMPARE(child<QLabel>("lblSystemtimetxt")->text(), QStringLiteral(" --:--- \t --:--:-- "));
    QVERIFY(m_page->isEnabled());
    QVERIFY(child<QPushButton>("btnExportLogRaw")->isEnabled());
    QVERIFY(child<QPushButton>("btnExportCSV")->isEnabled());
}

void TestLogTab::tabs()
{
    auto *stack = child<QStackedWidget>("stackGraph");
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("pageTreeView"));
    QVERIFY(child<QPushButton>("btnLogList")->isChecked());
    child<QPushButton>("btnSKWHist")->click();
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("pageGraph"));
    QVERIFY(child<QPushButton>("btnSKWHist")->isChecked());
    QVERIFY(!child<QPushButton>("btnLogList")->isChecked());
    child<QPushButton>("btnLogList")->click();
    child<QPushButton>("btnLogList")->click();
    QVERIFY(child<QPushButton>("btnLogList")->isChecked());
    QVERIFY(!child<QPushButton>("btnSKWHist")->isChecked());
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("pageTreeView"));
    QCOMPARE(child<QWidget>("pageGraph")->sizePolicy().horizontalPolicy(), QSizePolicy::Ignored);
}

void TestLogTab::readShowsTreeAndGraph()
{
    m_page->on_btnGetLog_clicked();
    QVERIFY2(errors().isEmpty(), qPrintable(errors().join('\n')));
    QVERIFY(m_page->isEnabled());
    QVERIFY(!m_page->isBusy());
    auto *tree = child<QTreeView>("treeViewLog2");
    QCOMPARE(tree->model()->rowCount(), 601);
    QVERIFY(tree->uniformRowHeights());
    QCOMPARE(tree->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Description"));
    // No channel chosen yet: nothing to draw.
    auto *graph = child<LineGraph>("wdgLogHistory");
    QVERIFY(graph->isHidden());
    auto *bar = child<ChannelEnableBar>("wdgChnSelBar");
    bar->checkBox(1)->setChecked(true);
    bar->checkBox(4)->setChecked(true);
    QCOMPARE(graph->series().size(), 2);
    QCOMPARE(graph->series().at(1).colorIndex, 4);
    QVERIFY(!graph->isHidden());
    for (int n = 0; n < 7; ++n)
        bar->checkBox(n)->setChecked(true);
    QCOMPARE(graph->series().size(), 7);
    // A new read keeps the chosen channels.
    m_page->on_btnGetLog_clicked();
    QCOMPARE(graph->series().size(), 7);
}

void TestLogTab::heartbeatDuringARead()
{
    bool disabledDuringRead = false;
    QString clock;
    auto c = connect(Device::instance()->ethernetHandler(), &EthernetHandler::updateProgressbar, this, [&] {
        HearBeatMessage_t h = heartbeat(3723);
        m_page->connectionsuccesfull(h, kUnit);
        disabledDuringRead = !m_page->isEnabled();
        clock = child<QLabel>("lblSystemtimetxt")->text();
    });
    m_page->manReadLogTrigger();
    disconnect(c);
    QVERIFY(disabledDuringRead);
    QCOMPARE(clock, QStringLiteral(" 00:000 \t 01:02:03 "));
    QVERIFY(m_page->isEnabled());
}

void TestLogTab::failedReadIsReported()
{
    m_page->on_btnGetLog_clicked();
    const int rows = child<QTreeView>("treeViewLog2")->model()->rowCount();
    m_sim.setErrorStatus(0xE0, -1, ERR_TIMEOUT);
    m_page->on_btnGetLog_clicked();
    QCOMPARE(errors(), QStringList{"Get Log failed. Error: timeout happend Errorcode: -26"});
    QCOMPARE(child<QTreeView>("treeViewLog2")->model()->rowCount(), rows);
    QVERIFY(m_page->isEnabled());
}

void TestLogTab::csvExport()
{
    m_page->on_btnGetLog_clicked();
    m_page->csvName = m_dir.filePath(QStringLiteral("history"));
    child<QPushButton>("btnExportCSV")->click();
    QVERIFY2(errors().isEmpty(), qPrintable(errors().join('\n')));
    QVERIFY(QFileInfo(m_dir.filePath(QStringLiteral("history.csv"))).size() > 100);
    QVERIFY(m_page->isEnabled());

    // A cancelled dialog says nothing.
    m_page->csvName.clear();
    m_page->saveCSV();
    QVERIFY(errors().isEmpty());

    m_page->csvName = m_dir.filePath(QStringLiteral("missing/history"));
    m_page->saveCSV();
    QCOMPARE(errors(), QStringList{"Save Csv failed. Error: invalid file Errorcode: -103"});
    QVERIFY(m_page->isEnabled());
}

QTEST_MAIN(TestLogTab)
#include "tst_logtab.moc"
