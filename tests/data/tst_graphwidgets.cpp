#include <QFutureWatcher>
#include <QLabel>
#include <QPointer>
#include <QProxyStyle>
#include <QSignalSpy>
#include <QThreadPool>
#include <QtTest>
#include <memory>

#include "bargraph.h"
#include "graphpalette.h"
#include "linegraph.h"
#include "simpletable.h"
#include "xyselectlineproxymodel.h"

namespace {
QColor channelColour(int i)
{
    return QColor::fromRgba(GraphPalette::colorAt(i));
}
} // namespace

namespace {

// A table of `series` curves of `samples` points each: column 0 the time,
// column 1 + k curve k.
SimpleTable::Table curves(int series, int samples, int offset = 0)
{
    SimpleTable::Table t(series + 1);
    for (int i = 0; i < samples; ++i) {
        t[0].append(i);
        for (int k = 0; k < series; ++k)
            t[k + 1].append(offset + (i * (k + 3)) % 1000);
    }
    return t;
}

struct Fixture
{
    SimpleTable table;
    QVector<std::shared_ptr<XYSelectLineProxyModel>> proxies;

    void fill(LineGraph &graph, const SimpleTable::Table &t)
    {
        graph.clearData();
        table.setRows(t);
        while (proxies.size() < t.size() - 1)
            proxies.append(std::make_shared<XYSelectLineProxyModel>(nullptr, -1, -1));
        for (int k = 0; k + 1 < t.size(); ++k) {
            proxies[k]->setSourceModel(&table);
            proxies[k]->setXColumn(0);
            proxies[k]->setYColumn(k + 1);
            graph.addModel(proxies[k].get(), QStringLiteral("Channel %1").arg(k + 1), QString(), k);
        }
        graph.setAxisLabelFormat(false, [](double v) { return QString::number(v); }, QStringLiteral("000000"));
        graph.setAxisLabelFormat(true, [](double v) { return QString::number(v); }, QStringLiteral("000000"));
        graph.invalidate();
    }
};

// Counts the greyed pixmaps made for disabled widgets.
class GreyingStyle : public QProxyStyle
{
public:
    mutable int greyed = 0;
    QPixmap generatedIconPixmap(QIcon::Mode mode, const QPixmap &pixmap, const QStyleOption *option) const override
    {
        if (mode == QIcon::Disabled)
            ++greyed;
        return QProxyStyle::generatedIconPixmap(mode, pixmap, option);
    }
};

bool waitForRenders(const AbstractGraph &graph, int count)
{
    return QTest::qWaitFor([&] { return graph.renderCount() >= count && !graph.isRendering(); }, 10000);
}

} // namespace

// The graph widgets: when they render, what they show, and that data
// changes or destruction during a render are safe.
class TestGraphWidgets : public QObject
{
    Q_OBJECT

private slots:
    void rangesAndNames();
    void clearDataForgetsFormattersAndRange();
    void rendersOnceShownAndOnResize();
    void invalidationsDuringRenderStartNoSecondRender();
    void disabledGraphGreysEachImageOnce();
    void dataChangedDuringRenderIsSafe();
    void destroyedMidRender();
    void legendWrapsWhenNarrow();
    void seriesColoursFollowTheirIndex();
    void barGraphLegendAndLimits();
};

void TestGraphWidgets::rangesAndNames()
{
    LineGraph graph;
    SimpleTable table;
    table.setRows({{3, 1, 2}, {150, 100, 200}});
    XYSelectLineProxyModel proxy(nullptr, 0, 1);
    proxy.setSourceModel(&table);
    QCOMPARE(graph.addModel(nullptr, QString(), QString(), 0), -1);
    QCOMPARE(graph.addModel(&proxy, QString(), QString(), 0), 0);
    QCOMPARE(graph.addModel(&proxy, QString(), QStringLiteral("second"), 1), 0);
    QCOMPARE(graph.series().at(0).name, QStringLiteral("Data 0"));
    QCOMPARE(graph.series().at(1).name, QStringLiteral("Data 1"));
    QCOMPARE(graph.series().at(1).description, QStringLiteral("second"));
    // y values 100..200 give the range 0..200; x takes the data's own range.
    QCOMPARE(graph.yMinimum(), 0.0);
    QCOMPARE(graph.yMaximum(), 200.0);
    QCOMPARE(graph.xMinimum(), 1.0);
    QCOMPARE(graph.xMaximum(), 3.0);

    // A model that is no column proxy is read cell by cell, with the same range.
    LineGraph other;
    other.addModel(&table, QString(), QString(), 0);
    QCOMPARE(other.xMinimum(), 1.0);
    QCOMPARE(other.xMaximum(), 3.0);
    QCOMPARE(other.yMaximum(), 200.0);
    const LinePlotData data = other.plotData();
    QCOMPARE(data.series.at(0).x, (QVector<qint32>{3, 1, 2}));
    QCOMPARE(data.series.at(0).missing, (QVector<bool>{false, false, false}));
}

void TestGraphWidgets::clearDataForgetsFormattersAndRange()
{
    LineGraph graph;
    Fixture f;
    f.fill(graph, curves(2, 10, -50));
    graph.setErrorEventRow(&f.table, QStringLiteral("Errors"));
    QVERIFY(graph.plotData().xFormatter);
    QVERIFY(graph.plotData().errorRow.shown);
    graph.clearData();
    const LinePlotData data = graph.plotData();
    QVERIFY(!data.xFormatter);
    QVERIFY(!data.yFormatter);
    QVERIFY(data.xSample.isEmpty());
    QVERIFY(data.series.isEmpty());
    QVERIFY(!data.errorRow.shown);
    QCOMPARE(data.errorRow.label, QStringLiteral("Errors"));  // the label stays
    QCOMPARE(graph.xMaximum(), 0.0);
    QCOMPARE(graph.yMinimum(), 0.0);
    QVERIFY(!graph.isUpToDate());
}

void TestGraphWidgets::rendersOnceShownAndOnResize()
{
    LineGraph graph(nullptr, QStringLiteral("Raw input"));
    Fixture f;
    f.fill(graph, curves(3, 200));
    graph.resize(640, 500);
    graph.show();
    QVERIFY(QTest::qWaitForWindowExposed(&graph));
    QVERIFY(waitForRenders(graph, 1));
    QCOMPARE(graph.titleLabel()->text(), QStringLiteral("Raw input"));
    QCOMPARE(graph.legendEntryCount(), 3);
    const QPixmap first = graph.backBuffer();
    QCOMPARE(first.width(), graph.graphLabel()->width());
    QCOMPARE(first.height(), first.width() * 9 / 16);
    QVERIFY(graph.currentPlotWidth() > 0);
    QVERIFY(graph.graphLabel()->isEnabled());

    const int before = graph.renderCount();
    graph.resize(500, 500);
    QVERIFY(waitForRenders(graph, before + 1));
    // Repaints still queued run now; none may start another render.
    QCoreApplication::sendPostedEvents();
    QVERIFY(!graph.isRendering());
    QVERIFY(graph.isUpToDate());
    QCOMPARE(graph.renderCount(), before + 1);
    QCOMPARE(graph.backBuffer().width(), graph.graphLabel()->width());
}

void TestGraphWidgets::disabledGraphGreysEachImageOnce()
{
    // A disabled page is drawn again and again while it waits (each time
    // the progress bar in front of it is drawn); greying the graph's image
    // every time cost more than the rest of the page.
    GreyingStyle style;
    LineGraph graph(nullptr, QStringLiteral("SKW history"));
    Fixture f;
    f.fill(graph, curves(7, 400));
    graph.resize(900, 700);
    graph.show();
    QVERIFY(QTest::qWaitForWindowExposed(&graph));
    QVERIFY(waitForRenders(graph, 1));
    QLabel *image = graph.graphLabel();
    image->setStyle(&style);
    const QImage coloured = image->grab().toImage();

    graph.setEnabled(false);
    for (int i = 0; i < 5; ++i)
        image->repaint();
    QCOMPARE(style.greyed, 1);
    // It still looks disabled, the same each time.
    const QImage greyed = image->grab().toImage();
    QVERIFY(greyed != coloured);
    QCOMPARE(image->grab().toImage(), greyed);
    QCOMPARE(style.greyed, 1);

    // A new image is greyed anew, once.
    graph.setEnabled(true);
    const int before = graph.renderCount();
    f.fill(graph, curves(7, 400, 50));
    QVERIFY(waitForRenders(graph, before + 1));
    graph.setEnabled(false);
    const int greyedBefore = style.greyed;
    for (int i = 0; i < 5; ++i)
        image->repaint();
    QCOMPARE(style.greyed, greyedBefore + 1);
    QVERIFY(image->grab().toImage() != greyed);
    image->setStyle(nullptr);
}

void TestGraphWidgets::invalidationsDuringRenderStartNoSecondRender()
{
    LineGraph graph;
    Fixture f;
    f.fill(graph, curves(7, 50000));
    graph.setThinning(0);  // a slow render, so the invalidations land inside it
    graph.resize(900, 700);
    graph.show();
    QVERIFY(QTest::qWaitForWindowExposed(&graph));
    QVERIFY(QTest::qWaitFor([&] { return graph.isRendering(); }, 20000));
    const int before = graph.renderCount();
    const auto rendersInFlight = [&graph] {
        int n = 0;
        for (const auto *watcher : graph.findChildren<QFutureWatcher<QImage> *>())
            n += watcher->isRunning();
        return n;
    };
    QCOMPARE(rendersInFlight(), 1);
    // No event is handled in this loop, so the render in flight cannot end
    // here: each repaint must leave it the only one, and finish nothing.
    for (int i = 0; i < 5; ++i) {
        graph.invalidate();
        graph.repaint();
        QCOMPARE(rendersInFlight(), 1);
        QVERIFY(graph.isRendering());
        QCOMPARE(graph.renderCount(), before);
        QVERIFY(!graph.isUpToDate());
    }
    // The render in flight finishes, then exactly one more with the newest data.
    QVERIFY(waitForRenders(graph, before + 2));
    QCoreApplication::sendPostedEvents();
    QVERIFY(!graph.isRendering());
    QCOMPARE(graph.renderCount(), before + 2);
    QVERIFY(graph.isUpToDate());
}

void TestGraphWidgets::dataChangedDuringRenderIsSafe()
{
    LineGraph graph;
    Fixture f;
    f.fill(graph, curves(7, 50000));
    graph.setThinning(0);
    graph.resize(900, 700);
    graph.show();
    QVERIFY(QTest::qWaitForWindowExposed(&graph));
    QVERIFY(QTest::qWaitFor([&] { return graph.isRendering(); }, 20000));
    // Refill with fewer, other curves while the old ones are drawn.
    f.fill(graph, curves(2, 50, 5000));
    f.table.setRows(curves(1, 3));
    graph.clearData();
    f.fill(graph, curves(2, 50, 5000));
    QVERIFY(waitForRenders(graph, 2));
    QVERIFY(graph.isUpToDate());
    // The last image shows the new curves' range.
    QCOMPARE(graph.yMaximum(), 5000.0 + 49 * 4);
    QCOMPARE(graph.legendEntryCount(), 2);
}

void TestGraphWidgets::destroyedMidRender()
{
    Fixture f;
    QPointer<LineGraph> graph = new LineGraph;
    f.fill(*graph, curves(7, 80000));
    graph->setThinning(0);
    graph->resize(900, 700);
    graph->show();
    QVERIFY(QTest::qWaitForWindowExposed(graph));
    QVERIFY(QTest::qWaitFor([&] { return graph->isRendering(); }, 20000));
    delete graph;
    QVERIFY(graph.isNull());
    // The table and proxies outlive it; the pool finishes nothing for it.
    f.table.setRows({});
    // The render of the deleted graph ends in the pool; its result, handed
    // to nobody, is delivered (or dropped) with the posted events.
    QVERIFY(QThreadPool::globalInstance()->waitForDone(20000));
    QCoreApplication::sendPostedEvents();
}

void TestGraphWidgets::legendWrapsWhenNarrow()
{
    LineGraph graph;
    Fixture f;
    f.fill(graph, curves(7, 10));
    graph.resize(1600, 1000);
    graph.show();
    QVERIFY(QTest::qWaitForWindowExposed(&graph));
    QVERIFY(waitForRenders(graph, 1));
    auto rows = [&] {
        QSet<int> tops;
        for (int i = 0; i < graph.legendEntryCount(); ++i)
            tops.insert(graph.legendLabel(i)->geometry().top());
        return tops.size();
    };
    QCOMPARE(rows(), 1);
    graph.resize(qMax(graph.minimumSizeHint().width(), 260), 1000);
    QVERIFY(waitForRenders(graph, 2));
    QTRY_VERIFY_WITH_TIMEOUT(rows() > 1, 10000);
    graph.resize(graph.minimumSizeHint().width() > 60 ? graph.minimumSizeHint().width() : 60, 1000);
    QVERIFY(waitForRenders(graph, 3));
    QTRY_VERIFY_WITH_TIMEOUT(rows() >= 4, 10000);
}

void TestGraphWidgets::seriesColoursFollowTheirIndex()
{
    LineGraph graph;
    SimpleTable table;
    table.setRows({{0}, {0}});
    for (int index : {0, 3, 9, 13})
        graph.addModel(&table, QString(), QString(), index);
    QCOMPARE(graph.seriesColor(0), channelColour(0));
    QCOMPARE(graph.seriesColor(1), channelColour(3));
    QCOMPARE(graph.seriesColor(2), channelColour(2));
    QCOMPARE(graph.seriesColor(3), channelColour(6));
    QCOMPARE(graph.paletteColor(8), channelColour(1));
}

void TestGraphWidgets::barGraphLegendAndLimits()
{
    BarGraph graph(nullptr, QStringLiteral("Bars"));
    SimpleTable table;
    table.setRows({{0, 1, 2}, {10, 40, 20}});
    QCOMPARE(graph.addModel(nullptr, 0, 0, QString(), 0), -1);
    QCOMPARE(graph.addModel(&table, 55, 1, QStringLiteral("A"), 0), 0);
    // A limit row beyond the rows gives no limit bar but still widens the range.
    QCOMPARE(graph.addModel(&table, 90, 7, QString(), 1), 0);
    QCOMPARE(graph.maximum(), 90.0);
    QCOMPARE(graph.minimum(), 0.0);
    const BarPlotData data = graph.plotData();
    QVERIFY(data.series.at(0).hasLimit);
    QCOMPARE(data.series.at(0).limitRow, 1);
    QVERIFY(!data.series.at(1).hasLimit);
    graph.setLabels({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
    graph.resize(800, 600);
    graph.show();
    QVERIFY(QTest::qWaitForWindowExposed(&graph));
    QVERIFY(waitForRenders(graph, 1));
    QCOMPARE(graph.legendEntryCount(), 4);
    QCOMPARE(graph.legendLabel(1)->text(), QStringLiteral("Data 1"));
    QCOMPARE(graph.legendLabel(2)->text(), QStringLiteral("Limit A"));
    QVERIFY(graph.legendLabel(3)->styleSheet().contains(channelColour(1).darker(200).name()));
    QVERIFY(graph.legendLabel(0)->styleSheet().contains(QStringLiteral("border-left: 4px solid #1f77b4")));
    graph.clearData();
    QCOMPARE(graph.maximum(), 0.0);
    QVERIFY(graph.plotData().labels.isEmpty());
}

QTEST_MAIN(TestGraphWidgets)
#include "tst_graphwidgets.moc"

