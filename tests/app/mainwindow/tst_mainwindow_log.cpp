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
#include <QLabel>
#include <QScrollArea>
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
#include "metatypes.h"
#include "testnet.h"
#include "translation.h"
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
    void historyFitsTheWindow_data();
    void historyFitsTheWindow();
    void channelBoxesStayByTheirNames();

private:
    std::unique_ptr<UnitSim> unit;
    MainWindow *window = nullptr;
    std::unique_ptr<BoxAnswerer> answerer;
};

void TestMainWindowLog::initTestCase()
{
    registerMetaTypes();
    LinkTimings t;
    t.baseTimeoutMs = 300;
    t.heartbeatMs = 100;
    // A loaded machine must not lose the link in the middle of a read.
    t.watchdogMs = 10000;
    t.watchdogSingleCoreMs = 20000;
    Device::instance()->ethernetHandler()->setTimings(t);
    Device::instance()->startTransport();
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

void TestMainWindowLog::historyFitsTheWindow_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("language");
    QTest::newRow("1024x768 en") << QSize(1024, 768) << "en";
    QTest::newRow("1024x768 de") << QSize(1024, 768) << "de";
    QTest::newRow("1920x1080 en") << QSize(1920, 1080) << "en";
}

void TestMainWindowLog::historyFitsTheWindow()
{
    // Runs on the window and the log the test above left: the log page
    // with the SKW history of all seven channels shown.
    QFETCH(QSize, size);
    QFETCH(QString, language);
    QVERIFY(unit && window->isVisible());
    switchTranslator(language);
    window->resize(size);
    auto *page = part<LogTab>(window, "pageScrollLog");
    auto *graph = part<LineGraph>(page, "wdgLogHistory");
    auto *area = part<QScrollArea>(page, "scrollArea");
    QVERIFY(graph->isVisible());
    QCOMPARE(graph->series().size(), 7);
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QTRY_VERIFY_WITH_TIMEOUT(graph->isUpToDate() && !graph->isRendering(), 20000);
    }
    QCOMPARE(window->size(), size);

    // As the user scrolls to the graph (a window high enough shows it
    // without).
    area->ensureWidgetVisible(graph->graphLabel(), 0, 0);
    QCoreApplication::processEvents();
    const QPixmap image = graph->backBuffer();
    QCOMPARE(image.width(), graph->graphLabel()->width());
    QVERIFY2(graph->graphLabel()->height() >= image.height(),
             qPrintable(QStringLiteral("label %1 px high for an image of %2 px")
                            .arg(graph->graphLabel()->height())
                            .arg(image.height())));
    // The whole image, the plot with its y labels, event rows, time labels
    // and axis titles, lies in the visible part of the window.
    const QRect whole(QPoint(0, 0), image.size());
    const QRegion hidden = QRegion(whole) - graph->graphLabel()->visibleRegion();
    QVERIFY2(hidden.isEmpty(), qPrintable(QStringLiteral("%1 x %2 image, hidden: %3 px high from y %4")
                                              .arg(image.width())
                                              .arg(image.height())
                                              .arg(hidden.boundingRect().height())
                                              .arg(hidden.boundingRect().top())));
    const QRect inWindow(graph->graphLabel()->mapTo(window, QPoint(0, 0)), image.size());
    QVERIFY(window->rect().contains(inWindow));
    // A plot worth the name: some rows of grid between the axes.
    QVERIFY2(graph->currentPlotHeight() >= 5 * graph->fontMetrics().height(),
             qPrintable(QString::number(graph->currentPlotHeight())));

    // Every time label whole: shown as the formatter wrote it, in a room
    // that holds it as drawn, inside the image.
    const QVector<AxisLabel> labels = graph->xAxisLabels();
    QVERIFY(labels.size() >= 2);
    // The image is drawn in a copy of the graph's font made from its
    // description (the drawing thread must not share the widget's font).
    QFont drawnFont;
    drawnFont.fromString(graph->font().toString());
    const QFontMetrics metrics(drawnFont);
    for (const AxisLabel &label : labels) {
        QCOMPARE(label.shown, label.text);
        QVERIFY(label.text.contains(QLatin1Char(':')));
        // Laid out as drawText lays it out (the TAB as drawn).
        const int drawn =
            metrics.boundingRect(QRect(0, 0, 1 << 20, 1000), Qt::AlignHCenter | Qt::AlignTop, label.text).width();
        QVERIFY2(drawn <= label.room, qPrintable(QStringLiteral("\"%1\" needs %2 px, its room is %3 px")
                                                     .arg(label.text)
                                                     .arg(drawn)
                                                     .arg(label.room)));
        QVERIFY2(drawn <= label.rect.width(), qPrintable(label.text));
        QVERIFY2(whole.contains(label.rect), qPrintable(label.text));
    }
    // Neighbours do not overlap.
    for (int i = 1; i < labels.size(); ++i)
        QVERIFY(labels.at(i - 1).rect.right() < labels.at(i).rect.left());
    switchTranslator(QStringLiteral("en"));
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

QTEST_MAIN(TestMainWindowLog)
#include "tst_mainwindow_log.moc"
