// The log page inside the main window against the simulated unit, as the
// engineer reads a long log with the SKW history shown. The progress bar
// lies on the half-transparent dialog page: each time it is drawn, the page
// beneath it (the history graph, the channel buttons with their colour
// effects) is drawn along. One value per record must not mean one drawing
// per percent.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

#include "channelenablebar.h"
#include "confighandler.h"
#include "databasecont.h"
#include "device.h"
#include "ethernethandler.h"
#include "linegraph.h"
#include "loghandlercont.h"
#include "logtab.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "notificationbar.h"
#include "metatypes.h"
#include "testnet.h"
#include "unitsim.h"
#include "unitsimblocks.h"

namespace {

// tests/app/mainwindow takes 127.0.3.20 to 127.0.3.29.
const QHostAddress kUnit(QStringLiteral("127.0.3.27"));

constexpr int kRecords = 3000;

// Counts the paint events of the widgets it is installed on while on.
class PaintCounter : public QObject
{
public:
    bool on = false;
    QHash<QObject *, int> paints;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (on && event->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }
};

} // namespace

class TestMainWindowLog : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void longLogWithTheHistoryShownDrawsTheBarByTime();
    void channelBoxesStayByTheirNames();
    void noteOfACutLogGoesWithTheNextRead();
    void goneNoteBringsBackNoStaleReadError();

private:
    std::unique_ptr<UnitSim> unit;
    MainWindow *window = nullptr;
    std::unique_ptr<BoxAnswerer> answerer;
};

void TestMainWindowLog::initTestCase()
{
    registerMetaTypes();
    // A loaded machine must not lose the link in the middle of a read.
    startWindowLink(300, 10000);
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    window = new MainWindow;
    // Maximised on a full-HD screen: the progress bar lies across the graph.
    window->resize(1920, 1080);
    window->show();
}

void TestMainWindowLog::cleanupTestCase()
{
    answerer.reset();
    Device::instance()->ethernetHandler()->disconnectFromDevice();
    delete window;
    window = nullptr;
    unit.reset();
}

void TestMainWindowLog::longLogWithTheHistoryShownDrawsTheBarByTime()
{
    KORVANTIS_REQUIRE_TESTNET();
    unit = std::make_unique<UnitSim>();
    QString error;
    QVERIFY2(unit->startQuiet(kUnit, &error), qPrintable(error));
    UnitSimBlocks::of(unit.get())->setLogArea(UnitSimBlocks::makeLogRecords(kRecords));
    unit->setDataControl(0x10);  // an idle unit: the log page is free

    // Connected; the offer to read the configuration declined.
    answerer = std::make_unique<BoxAnswerer>(window, QList<int>{0});
    EthernetHandler *link = Device::instance()->ethernetHandler();
    Device::instance()->confighandler()->setIpAddress(kUnit);
    link->setTargetIP(kUnit);
    QTRY_COMPARE_WITH_TIMEOUT(answerer->boxes.size(), 1, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!window->asksReadConfig() && !link->isWaiting(), 10000);

    // The log page (opening it reads the log once), all channels ticked,
    // the SKW history shown.
    QTest::mouseClick(part<QPushButton>(window, "btnLogTab"), Qt::LeftButton);
    auto *page = part<LogTab>(window, "pageScrollLog");
    QTRY_VERIFY_WITH_TIMEOUT(!page->isBusy() && page->isEnabled(), 20000);
    QCOMPARE(LoghandlerCont::instance().treeModel()->rowCount(), kRecords + 1);
    QTest::mouseClick(part<QPushButton>(page, "btnSKWHist"), Qt::LeftButton);
    auto *bar = part<ChannelEnableBar>(page, "wdgChnSelBar");
    for (int ch = 0; ch < 7; ++ch)
        if (!bar->checkBox(ch)->isChecked())
            QTest::mouseClick(bar->nameButton(ch), Qt::LeftButton);
    QCOMPARE(bar->getChannelMask(), uint8_t(0x7F));
    auto *graph = part<LineGraph>(page, "wdgLogHistory");
    QVERIFY(graph->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(graph->isUpToDate() && !graph->isRendering(), 20000);

    // The read again, as the user clicks it; what is drawn while it
    // evaluates is counted.
    QProgressBar *progress = window->progress();
    PaintCounter counter;
    progress->installEventFilter(&counter);
    graph->installEventFilter(&counter);
    LoghandlerCont &log = LoghandlerCont::instance();
    QElapsedTimer clock;
    qint64 evaluationMs = -1;
    int values = 0;
    int rendersBefore = -1;
    int rendersDuring = -1;
    bool graphShownMeanwhile = false;
    QList<QMetaObject::Connection> connections;
    connections << connect(&log, &LoghandlerCont::initProgressbar, this, [&] {
        counter.on = true;
        rendersBefore = graph->renderCount();
        clock.start();
    });
    connections << connect(&log, &LoghandlerCont::updateProgressbar, this, [&] {
        ++values;
        graphShownMeanwhile = graphShownMeanwhile || graph->isVisible();
    });
    connections << connect(&log, &LoghandlerCont::deinitProgressbar, this, [&] {
        counter.on = false;
        evaluationMs = clock.elapsed();
        rendersDuring = graph->renderCount() - rendersBefore;
    });
    auto *read = part<QPushButton>(page, "btnGetLog");
    QTRY_VERIFY_WITH_TIMEOUT(read->isEnabled() && page->isEnabled() && !link->isWaiting(), 20000);
    QTest::mouseClick(read, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(evaluationMs >= 0 && !page->isBusy(), 30000);
    for (const QMetaObject::Connection &c : connections)
        disconnect(c);

    QCOMPARE(values, kRecords);
    QVERIFY(graphShownMeanwhile);
    // The bar is drawn when it appears, then at most about ten times a
    // second, whatever the number of values; the graph beneath it no more
    // often. (Drawn per percent it would be about a hundred times.)
    const int bound = 3 + int(evaluationMs / 100);
    const QString drawn = QStringLiteral("in %1 ms the progress bar was drawn %2 times, the history graph %3 times")
                              .arg(evaluationMs)
                              .arg(counter.paints.value(progress))
                              .arg(counter.paints.value(graph));
    QVERIFY2(counter.paints.value(progress) <= bound, qPrintable(drawn));
    QVERIFY2(counter.paints.value(graph) <= bound, qPrintable(drawn));
    // The graph draws the new log once it is evaluated, not meanwhile.
    QCOMPARE(rendersDuring, 0);
    QTRY_VERIFY_WITH_TIMEOUT(graph->renderCount() > rendersBefore && graph->isUpToDate() && !graph->isRendering(),
                             20000);
    QCOMPARE(graph->series().size(), 7);
    QCOMPARE(LoghandlerCont::instance().treeModel()->rowCount(), kRecords + 1);
    QVERIFY(progress->isHidden());
    QVERIFY(page->isEnabled());
}

void TestMainWindowLog::channelBoxesStayByTheirNames()
{
    // Full HD: the log page's and the data page's channel bars are wide.
    QVERIFY(unit && window->isVisible());
    window->resize(1920, 1080);
    const struct
    {
        MainWindow::Page page;
        const char *bar;
    } bars[] = {{MainWindow::PageLog, "wdgChnSelBar"}, {MainWindow::PageData, "wdgGraphChnSel"}};
    for (const auto &b : bars) {
        window->setcurrentIndexes(b.page);
        auto *bar = part<ChannelEnableBar>(window, b.bar);
        QTRY_VERIFY(bar->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QVERIFY2(bar->width() > 1000, qPrintable(QString::number(bar->width())));
        const int line = bar->fontMetrics().height();
        for (int ch = 0; ch < 7; ++ch) {
            QPushButton *name = bar->nameButton(ch);
            QCheckBox *box = bar->checkBox(ch);
            // The name is as wide as its text needs, and the box follows
            // right after it.
            QVERIFY2(name->width() <= name->sizeHint().width() + line,
                     qPrintable(QStringLiteral("%1, channel %2: name %3 px wide for %4 px of text")
                                    .arg(QLatin1String(b.bar))
                                    .arg(ch + 1)
                                    .arg(name->width())
                                    .arg(name->sizeHint().width())));
            const int nameRight = name->mapTo(bar, QPoint(name->width(), 0)).x();
            const int boxLeft = box->mapTo(bar, QPoint(0, 0)).x();
            QVERIFY2(boxLeft - nameRight <= line,
                     qPrintable(QStringLiteral("%1, channel %2: %3 px between name and box")
                                    .arg(QLatin1String(b.bar))
                                    .arg(ch + 1)
                                    .arg(boxLeft - nameRight)));
        }
    }
    window->setcurrentIndexes(MainWindow::PageLog);
}

void TestMainWindowLog::noteOfACutLogGoesWithTheNextRead()
{
    // A log that ended in a cut record is named on the notification bar;
    // the next read that shows another log takes that note away, also when
    // the log it shows is empty.
    QVERIFY(unit && window->isVisible());
    window->setcurrentIndexes(MainWindow::PageLog);
    auto *page = part<LogTab>(window, "pageScrollLog");
    auto *bar = part<NotificationBar>(window, "notifyBar");
    EthernetHandler *link = Device::instance()->ethernetHandler();
    auto read = [&](const QByteArray &area, int rows) {
        UnitSimBlocks::of(unit.get())->setLogArea(area);
        auto *button = part<QPushButton>(page, "btnGetLog");
        QTRY_VERIFY_WITH_TIMEOUT(button->isEnabled() && page->isEnabled() && !link->isWaiting(), 20000);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!page->isBusy() && page->isEnabled(), 20000);
        QCOMPARE(LoghandlerCont::instance().treeModel()->rowCount(), rows);
    };
    QTRY_VERIFY_WITH_TIMEOUT(!page->isBusy(), 20000);
    const int before = bar->entryCount();
    const QString note =
        QStringLiteral("The log ended in a cut record. Bytes dropped after the last whole record: 20");
    const QByteArray cut = UnitSimBlocks::makeLogRecords(30) + QByteArray(20, char(0x5A));

    read(cut, 31);
    QCOMPARE(bar->entryCount(), before + 1);
    QCOMPARE(bar->currentEntry().text, note);
    // The same cut again: one note, not two.
    read(cut, 31);
    QCOMPARE(bar->entryCount(), before + 1);
    read(QByteArray(), 1);
    QCOMPARE(bar->entryCount(), before);
    QVERIFY(bar->entryCount() == 0 || bar->currentEntry().text != note);

    read(cut, 31);
    QCOMPARE(bar->entryCount(), before + 1);
    read(UnitSimBlocks::makeLogRecords(12), 13);
    QCOMPARE(bar->entryCount(), before);
}

void TestMainWindowLog::goneNoteBringsBackNoStaleReadError()
{
    // A read that timed out, then a cut log with its note, then a whole
    // log: the note goes, and the failure of the read before it must not
    // come back under the log just read.
    QVERIFY(unit && window->isVisible());
    window->setcurrentIndexes(MainWindow::PageLog);
    auto *page = part<LogTab>(window, "pageScrollLog");
    auto *bar = part<NotificationBar>(window, "notifyBar");
    EthernetHandler *link = Device::instance()->ethernetHandler();
    UnitSimBlocks *blocks = UnitSimBlocks::of(unit.get());
    auto read = [&](const QByteArray &area) {
        if (!area.isNull())
            blocks->setLogArea(area);
        auto *button = part<QPushButton>(page, "btnGetLog");
        QTRY_VERIFY_WITH_TIMEOUT(button->isEnabled() && page->isEnabled() && !link->isWaiting(), 20000);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!page->isBusy() && page->isEnabled(), 20000);
    };
    QTRY_VERIFY_WITH_TIMEOUT(!page->isBusy(), 20000);
    takeBarTexts(bar);

    read(UnitSimBlocks::makeLogRecords(40));
    QCOMPARE(LoghandlerCont::instance().treeModel()->rowCount(), 41);
    QCOMPARE(bar->entryCount(), 0);

    // A log that ends in a cut record, whose first block the unit does not
    // answer: the read times out.
    const QString failure = QStringLiteral("Get Log failed. Error: timeout happend Errorcode: -26");
    blocks->faults().dropBlock = 0;
    blocks->faults().dropTimes = 1000;
    read(UnitSimBlocks::makeLogRecords(30) + QByteArray(20, char(0x5A)));
    blocks->faults().dropBlock = -1;
    blocks->faults().dropTimes = 0;
    QCOMPARE(bar->currentEntry().text, failure);
    QCOMPARE(LoghandlerCont::instance().treeModel()->rowCount(), 41);

    // Read again: the cut log, with its note.
    const QString note =
        QStringLiteral("The log ended in a cut record. Bytes dropped after the last whole record: 20");
    read(QByteArray());
    QVERIFY2(LoghandlerCont::instance().treeModel()->rowCount() == 31, qPrintable(bar->currentEntry().text));
    QCOMPARE(bar->currentEntry().text, note);

    read(UnitSimBlocks::makeLogRecords(12));
    QCOMPARE(LoghandlerCont::instance().treeModel()->rowCount(), 13);
    QVERIFY2(bar->entryCount() == 0, qPrintable(takeBarTexts(bar).join(QLatin1Char('\n'))));
    QVERIFY(!bar->isVisible());
}

QTEST_MAIN(TestMainWindowLog)
#include "tst_mainwindow_log.moc"
