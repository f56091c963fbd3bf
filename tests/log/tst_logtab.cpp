// The log page against the simulated unit on a loopback address.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "requestlog.h"
#include "channelenablebar.h"
#include "device.h"
#include "devicelog.h"
#include "linegraph.h"
#include "logfixture.h"
#include "loghandlercont.h"
#include "logtab.h"
#include "metatypes.h"
#include "treemodel.h"
#include "unitsim.h"
#include "unitsimblocks.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.6.3"));

// The page with its file dialog answered by the test.
class Page : public LogTab
{
public:
    QString csvName;
    int asked = 0;

protected:
    QString chooseCsvFile() override
    {
        ++asked;
        return csvName;
    }
};

// What the unit's log area holds by default in these tests.
QByteArray defaultArea()
{
    return UnitSimBlocks::makeLogRecords(600) + QByteArray(UnitSimBlocks::kDefaultErasedSlots * 32, char(0xFF));
}

// The records a log area shows: its whole records without the erased ones.
QByteArray shownOf(const QByteArray &area)
{
    QByteArray shown;
    for (const LogRecord &r : DeviceLog::split(area).records)
        if (!r.isErased())
            shown += r.toByteArray();
    return shown;
}

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
    void deviceLogs_data();
    void deviceLogs();
    void nestedReadIsIgnored();
    void csvExport();
    void csvExportWithNothingToExport();

private:
    template<typename T>
    T *child(const char *name)
    {
        return m_page->findChild<T *>(QLatin1String(name));
    }
    QStringList errors() const;
    // The records the tree shows, as the LOG file would hold them.
    QByteArray shownRecords() const
    {
        return serialized(*LoghandlerCont::instance().treeModel()->rootItem()).mid(4);
    }
    void clickRead();

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
    QTRY_VERIFY_WITH_TIMEOUT(link->isConnected(), 20000);
}

void TestLogTab::cleanupTestCase()
{
    Device::instance()->ethernetHandler()->disconnectFromDevice();
}

void TestLogTab::init()
{
    m_sim.clearErrorStatus();
    UnitSimBlocks::of(&m_sim)->setLogArea(defaultArea());
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
    // The CSV file is the history's: its button goes with the history.
    QVERIFY(child<QPushButton>("btnExportCSV")->isHidden());
    child<QPushButton>("btnSKWHist")->click();
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("pageGraph"));
    QVERIFY(!child<QPushButton>("btnExportCSV")->isHidden());
    QVERIFY(child<QPushButton>("btnSKWHist")->isChecked());
    QVERIFY(!child<QPushButton>("btnLogList")->isChecked());
    child<QPushButton>("btnLogList")->click();
    child<QPushButton>("btnLogList")->click();
    QVERIFY(child<QPushButton>("btnLogList")->isChecked());
    QVERIFY(!child<QPushButton>("btnSKWHist")->isChecked());
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("pageTreeView"));
    QVERIFY(child<QPushButton>("btnExportCSV")->isHidden());
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

void TestLogTab::clickRead()
{
    // As the user does it: the unit's heartbeat has enabled the button.
    HearBeatMessage_t h = heartbeat(100);
    m_page->connectionsuccesfull(h, kUnit);
    auto *button = child<QPushButton>("btnGetLog");
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestLogTab::deviceLogs_data()
{
    QTest::addColumn<QByteArray>("area");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("message");
    const QByteArray whole = UnitSimBlocks::makeLogRecords(500) + QByteArray(3 * 32, char(0xFF));
    const QString cut = QStringLiteral("The log ended in a cut record. Bytes dropped after the last whole record: %1");
    QTest::newRow("whole") << whole << 501 << QString();
    QTest::newRow("cut last record, 1 byte") << whole + QByteArray(1, char(0xA5)) << 501 << cut.arg(1);
    QTest::newRow("cut last record, 5 bytes") << whole + QByteArray(5, char(0xA5)) << 501 << cut.arg(5);
    QTest::newRow("cut last record, 31 bytes") << whole + QByteArray(31, char(0xA5)) << 501 << cut.arg(31);
    QTest::newRow("cut right after records") << UnitSimBlocks::makeLogRecords(420) + UnitSimBlocks::makeLogRecords(1).left(5)
                                             << 421 << cut.arg(5);
    QTest::newRow("only a cut record") << QByteArray(17, char(0x11)) << 1 << cut.arg(17);
    QTest::newRow("empty") << QByteArray() << 1 << QString();
    QTest::newRow("erased only") << QByteArray(40 * 32, char(0xFF)) << 1 << QString();
}

void TestLogTab::deviceLogs()
{
    QFETCH(QByteArray, area);
    QFETCH(int, rows);
    QFETCH(QString, message);
    auto *tree = child<QTreeView>("treeViewLog2");
    // Something else is shown first: a new log replaces it completely.
    clickRead();
    QCOMPARE(tree->model()->rowCount(), 601);
    QVERIFY2(errors().isEmpty(), qPrintable(errors().join('\n')));

    UnitSimBlocks::of(&m_sim)->setLogArea(area);
    clickRead();
    QCOMPARE(tree->model()->rowCount(), rows);
    QCOMPARE(shownRecords(), shownOf(area));
    QCOMPARE(tree->model()->index(0, 1).data().toString(), QStringLiteral("Generell System Information "));
    QCOMPARE(errors(), message.isEmpty() ? QStringList() : QStringList{message});
    QVERIFY(m_page->isEnabled());
    QVERIFY(!m_page->isBusy());

    // A read that fails keeps this log, the identification read with it
    // (the LOG file of the shown log carries it) and the count of its
    // dropped bytes, and says why it failed.
    const QByteArray shown = shownRecords();
    const uint16_t build = LoghandlerCont::instance().deviceIdentification().firmwareBuild;
    const int dropped = LoghandlerCont::instance().droppedBytes();
    m_errors->clear();
    UnitSimBlocks::of(&m_sim)->setLogRecords(30);
    m_sim.productInfo().firmwareBuild = uint16_t(build + 1);
    m_sim.setErrorStatus(0x11, -1, -1301);
    clickRead();
    m_sim.productInfo().firmwareBuild = build;
    QCOMPARE(LoghandlerCont::instance().deviceIdentification().firmwareBuild, build);
    QCOMPARE(LoghandlerCont::instance().droppedBytes(), dropped);
    QCOMPARE(errors().size(), 1);
    QVERIFY2(errors().constFirst().startsWith(QStringLiteral("Get Log failed. Error: ")), qPrintable(errors().join('\n')));
    QVERIFY(errors().constFirst().endsWith(QStringLiteral("Errorcode: -1301")));
    QCOMPARE(tree->model()->rowCount(), rows);
    QCOMPARE(shownRecords(), shown);
    QVERIFY(m_page->isEnabled());
}

void TestLogTab::nestedReadIsIgnored()
{
    // The main window asks the page for a read whenever it is switched to;
    // that may happen while the page's own read waits for the unit.
    int nested = 0;
    bool disabledAfterNested = false;
    bool busyAfterNested = false;
    auto c = connect(Device::instance()->ethernetHandler(), &EthernetHandler::updateProgressbar, this, [&] {
        if (nested++ > 0)
            return;
        m_page->on_btnGetLog_clicked();
        disabledAfterNested = !m_page->isEnabled();
        busyAfterNested = m_page->isBusy();
    });
    m_sim.clearRequestLog();
    clickRead();
    disconnect(c);
    QVERIFY(nested > 0);
    QVERIFY(disabledAfterNested);
    QVERIFY(busyAfterNested);
    QVERIFY2(errors().isEmpty(), qPrintable(errors().join('\n')));
    QCOMPARE(distinctRequests(m_sim.requestLog(), 0xE0), 1);
    QCOMPARE(child<QTreeView>("treeViewLog2")->model()->rowCount(), 601);
    QVERIFY(m_page->isEnabled());
    QVERIFY(!m_page->isBusy());
}

void TestLogTab::csvExportWithNothingToExport()
{
    // A log of erased slots only: no SKW values, errors or configuration
    // changes.
    UnitSimBlocks::of(&m_sim)->setLogArea(QByteArray(8 * 32, char(0xFF)));
    clickRead();
    QCOMPARE(child<QTreeView>("treeViewLog2")->model()->rowCount(), 1);
    m_page->csvName = m_dir.filePath(QStringLiteral("nothing"));
    QTest::mouseClick(child<QPushButton>("btnSKWHist"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>("btnExportCSV"), Qt::LeftButton);
    QCOMPARE(errors(), QStringList{QStringLiteral(
                           "Nothing to export: the log shown holds no SKW values, errors or configuration changes.")});
    // No name is asked for a file that would not be written.
    QCOMPARE(m_page->asked, 0);
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("nothing.csv"))));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("nothing"))));
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
