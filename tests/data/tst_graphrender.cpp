#include <QGuiApplication>
#include <QRandomGenerator>
#include <QtTest>

#include "bargraphrenderer.h"
#include "graphpalette.h"
#include "linegraphrenderer.h"
#include "ticksteps.h"

namespace {
QColor channelColour(int i)
{
    return QColor::fromRgba(GraphPalette::colorAt(i));
}
} // namespace

// Images drawn by the renderers, checked by the colours at positions the
// renderer itself reports (no font-dependent pixel numbers).
class TestGraphRender : public QObject
{
    Q_OBJECT

private slots:
    void seriesColoursAtTheirColumns();
    void emptyGraphHasPlotAreaOnly();
    void zeroWidthRangesDrawOneTickInTheMiddle();
    void onePointIsADotWithItsLabel();
    void coincidingPointsAreADot_data();
    void coincidingPointsAreADot();
    void eventRowsLowerThePlot();
    void thinnedCurvesDrawTheSamePixels_data();
    void thinnedCurvesDrawTheSamePixels();
    void cellByCellSeriesWithMissingValues();
    void barPositions_data();
    void barPositions();
    void barsOfSeveralSeriesSideBySide();
    void negativeBarsStayInsidePlot();
    void categoryCellsHoldTheirBars();
    void tinyImages();

private:
    static GraphFrame frame(int width, int height);
    static LineSeriesData tableSeries(int colorIndex, const QVector<qint32> &x, const QVector<qint32> &y);
    static int countColour(const QImage &image, const QColor &colour, const QRect &area);
};

GraphFrame TestGraphRender::frame(int width, int height)
{
    GraphFrame f;
    f.imageSize = QSize(width, height);
    f.font = QGuiApplication::font();
    f.margins = GraphRenderer::labelMargins(QFontMetrics(f.font));
    f.xAxisTitle = QStringLiteral("Time [s]");
    f.yAxisTitle = QStringLiteral("Value");
    return f;
}

LineSeriesData TestGraphRender::tableSeries(int colorIndex, const QVector<qint32> &x, const QVector<qint32> &y)
{
    LineSeriesData s;
    s.color = channelColour(colorIndex);
    s.x = x;
    s.y = y;
    s.hasRows = !x.isEmpty();
    return s;
}

int TestGraphRender::countColour(const QImage &image, const QColor &colour, const QRect &area)
{
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                ++n;
    return n;
}

void TestGraphRender::seriesColoursAtTheirColumns()
{
    // Series 0 rises from (0, 0) to (100, 100), series 1 is flat at 30 and
    // shown in colour 8 (= palette entry 1).
    LinePlotData data;
    data.series << tableSeries(0, {0, 50, 100}, {0, 50, 100}) << tableSeries(8, {0, 100}, {30, 30});
    data.xMaximum = 100;
    data.yMaximum = 100;
    data.xSample = QStringLiteral("100.0");
    data.ySample = QStringLiteral("100.0");
    data.xFormatter = [](double v) { return QString::number(v); };
    data.yFormatter = data.xFormatter;
    LineGraphRenderer r(frame(800, 450), data);
    const QImage image = r.render();
    QCOMPARE(image.size(), QSize(800, 450));

    const int left = r.labelColumnWidth();
    const int bottom = r.plotHeight() + r.frame().margins.top() - 1;
    const QColor c0 = channelColour(0);
    const QColor c1 = channelColour(1);
    // The rising line passes each column within a pixel of the value.
    for (double v : {10.0, 25.0, 75.0, 90.0}) {
        const int x = left + r.xOffset(v);
        QVERIFY(countColour(image, c0, QRect(x, bottom - r.yOffset(v) - 1, 1, 3)) > 0);
    }
    // The flat series where it does not cross the rising one.
    for (double v : {5.0, 60.0, 95.0}) {
        const int x = left + r.xOffset(v);
        QCOMPARE(image.pixelColor(x, bottom - r.yOffset(30)), c1);
    }
    // No curve outside the plot area, none at the right of the x maximum.
    QCOMPARE(countColour(image, c0, QRect(0, 0, left, image.height())), 0);
    QCOMPARE(countColour(image, c1, QRect(left + r.xOffset(100) + 1, 0, 800, 450)), 0);
    // Grid lines of the 1-2-5 steps lie inside the plot area.
    const int gridX = left + r.xOffset(TickSteps::positions(0, 100, r.xStep()).value(1));
    QCOMPARE(image.pixelColor(gridX, bottom - r.yOffset(80)), r.frame().gridColor);
}

void TestGraphRender::emptyGraphHasPlotAreaOnly()
{
    LineGraphRenderer r(frame(400, 225), LinePlotData());
    const QImage image = r.render();
    const QMargins m = r.frame().margins;
    const QRect plot(r.labelColumnWidth(), m.top(), r.plotWidth(), r.plotHeight());
    // Without series there is no grid: the whole plot area is plain white,
    // right where the curves would be drawn.
    QCOMPARE(countColour(image, Qt::white, plot), plot.width() * plot.height());
    QCOMPARE(countColour(image, r.frame().gridColor, image.rect()), 0);
    // The background is transparent.
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
}

void TestGraphRender::zeroWidthRangesDrawOneTickInTheMiddle()
{
    // Every x is 5 and every y is 0: both spans are 0. The value sits in
    // the middle of each axis, with its grid line and its label.
    LinePlotData data;
    data.series << tableSeries(2, {5, 5, 5}, {0, 0, 0});
    data.xMinimum = data.xMaximum = 5;
    data.xSample = data.ySample = QStringLiteral("00000");
    data.xFormatter = [](double v) { return QStringLiteral("t%1").arg(v); };
    LineGraphRenderer r(frame(400, 225), data);
    const QImage image = r.render();
    QCOMPARE(r.xTicks(), QVector<double>{5});
    QCOMPARE(r.yTicks(), QVector<double>{0});
    QCOMPARE(r.xOffset(5), (r.plotWidth() - 1) / 2);
    QCOMPARE(r.yOffset(0), (r.plotHeight() - 1) / 2);
    QCOMPARE(r.xLabels().size(), 1);
    QCOMPARE(r.xLabels().constFirst().text, QStringLiteral("t5"));
    QVERIFY(qAbs(r.xLabels().constFirst().rect.center().x() - (r.labelColumnWidth() + r.xOffset(5))) <= 1);
    // The vertical grid line runs from the bottom of the plot to its top.
    const int x = r.labelColumnWidth() + r.xOffset(5);
    const int bottom = r.plotHeight() + r.frame().margins.top() - 1;
    QCOMPARE(image.pixelColor(x, bottom - 2), r.frame().gridColor);
    QCOMPARE(image.pixelColor(x, r.frame().margins.top() + 1), r.frame().gridColor);
    // The curve stays inside the plot.
    const QRect plot(r.labelColumnWidth(), r.frame().margins.top(), r.plotWidth(), r.plotHeight());
    QVERIFY(countColour(image, channelColour(2), plot) > 0);
    QCOMPARE(countColour(image, channelColour(2), image.rect()), countColour(image, channelColour(2), plot));
}

void TestGraphRender::onePointIsADotWithItsLabel()
{
    // A log with one lubrication event: one point per channel, and an error
    // at the same second.
    LinePlotData data;
    data.series << tableSeries(0, {5000}, {120}) << tableSeries(8, {5000}, {40});
    data.xMinimum = data.xMaximum = 5000;
    data.yMaximum = 120;
    data.xSample = data.ySample = QStringLiteral("00000");
    data.xFormatter = [](double v) { return QString::number(v); };
    data.yFormatter = data.xFormatter;
    data.errorRow.shown = true;
    data.errorRow.times = {5000.0};
    data.errorRow.label = QStringLiteral("Errors");
    data.errorRow.color = QColor(QStringLiteral("#E62C27"));
    LineGraphRenderer r(frame(600, 338), data);
    const QImage image = r.render();
    const int left = r.labelColumnWidth();
    const int bottom = r.plotHeight() + r.frame().margins.top() - 1;
    const int x = left + r.xOffset(5000);
    QCOMPARE(r.xOffset(5000), (r.plotWidth() - 1) / 2);
    // One time label, under the point.
    QCOMPARE(r.xLabels().size(), 1);
    QCOMPARE(r.xLabels().constFirst().text, QStringLiteral("5000"));
    QVERIFY(qAbs(r.xLabels().constFirst().rect.center().x() - x) <= 1);
    // Each point a dot of several pixels around its place, not one pixel
    // on the plot's left border.
    for (int k = 0; k < 2; ++k) {
        const QColor colour = channelColour(k == 0 ? 0 : 1);
        const int y = bottom - r.yOffset(k == 0 ? 120 : 40);
        const int d = r.dotRadius();
        QVERIFY(countColour(image, colour, QRect(x - d, y - d, 2 * d + 1, 2 * d + 1)) >= 5);
        QCOMPARE(countColour(image, colour, QRect(left, 0, 2, image.height())), 0);
    }
    // The grid: the vertical line of the one tick and the lines of the y
    // ticks; the error tick right under the point.
    QCOMPARE(image.pixelColor(x, bottom - r.yOffset(80)), r.frame().gridColor);
    QVERIFY(r.yTicks().size() >= 2);
    QCOMPARE(image.pixelColor(x, bottom + QFontMetrics(QGuiApplication::font()).height()), data.errorRow.color);
}

void TestGraphRender::coincidingPointsAreADot_data()
{
    // Channel 0's lubrication events all at one second with one value; in
    // the second row another channel spans a range around them.
    QTest::addColumn<bool>("withNeighbour");
    QTest::newRow("alone") << false;
    QTest::newRow("beside a curve") << true;
}

void TestGraphRender::coincidingPointsAreADot()
{
    QFETCH(bool, withNeighbour);
    LinePlotData data;
    data.series << tableSeries(0, {5000, 5000, 5000, 5000}, {120, 120, 120, 120});
    data.xMinimum = data.xMaximum = 5000;
    data.yMinimum = data.yMaximum = 120;
    if (withNeighbour) {
        data.series << tableSeries(8, {1000, 9000}, {40, 300});
        data.xMinimum = 1000;
        data.xMaximum = 9000;
        data.yMinimum = 0;
        data.yMaximum = 300;
    }
    data.xSample = data.ySample = QStringLiteral("00000");
    data.xFormatter = [](double v) { return QString::number(v); };
    data.yFormatter = data.xFormatter;
    LineGraphRenderer r(frame(600, 338), data);
    const QImage image = r.render();
    const int x = r.labelColumnWidth() + r.xOffset(5000);
    const int y = r.plotHeight() + r.frame().margins.top() - 1 - r.yOffset(120);
    // A dot of several pixels around the one place, as for a single point;
    // nothing of the channel's colour elsewhere.
    const QColor colour = channelColour(0);
    const int d = r.dotRadius();
    const QRect dot(x - d, y - d, 2 * d + 1, 2 * d + 1);
    QVERIFY2(countColour(image, colour, dot) >= 5, qPrintable(QString::number(countColour(image, colour, dot))));
    QCOMPARE(countColour(image, colour, image.rect()), countColour(image, colour, dot));
}

void TestGraphRender::eventRowsLowerThePlot()
{
    LinePlotData data;
    data.series << tableSeries(0, {0, 100}, {10, 10});
    data.xMaximum = 100;
    data.yMaximum = 10;
    data.xSample = data.ySample = QStringLiteral("000");
    LineGraphRenderer plain(frame(600, 338), data);
    plain.render();

    data.errorRow.shown = true;
    data.errorRow.times = {40.0, 250.0};  // the second lies outside the x range
    data.errorRow.label = QStringLiteral("Errors");
    data.errorRow.color = QColor(QStringLiteral("#E62C27"));
    LineGraphRenderer withErrors(frame(600, 338), data);
    const QImage image = withErrors.render();

    const int h = QFontMetrics(QGuiApplication::font()).height();
    QCOMPARE(withErrors.plotHeight(), plain.plotHeight() - 2 * h);
    const int plotBottom = withErrors.plotHeight() + withErrors.frame().margins.top() - 1;
    const int x = withErrors.labelColumnWidth() + withErrors.xOffset(40);
    // The tick runs from h/2 to h + h/2 below the plot.
    QCOMPARE(image.pixelColor(x, plotBottom + h), data.errorRow.color);
    QVERIFY(image.pixelColor(x, plotBottom + h / 2 - 2) != data.errorRow.color);
    QVERIFY(image.pixelColor(x, plotBottom + 2 * h + 1) != data.errorRow.color);
    // One tick only: the event outside the range draws none. A tick is
    // h + 1 pixels; the label adds some pixels to the left of the plot.
    const QRect tickArea(withErrors.labelColumnWidth(), plotBottom + 1, withErrors.plotWidth(), 2 * h);
    QCOMPARE(countColour(image, data.errorRow.color, tickArea), h + 1);
}

void TestGraphRender::thinnedCurvesDrawTheSamePixels_data()
{
    QTest::addColumn<QVector<qint32>>("x");
    QTest::addColumn<QVector<qint32>>("y");
    QRandomGenerator rng(4711);
    QVector<qint32> walkX, walkY, sawX, sawY, spikeX, spikeY;
    qint32 v = 0;
    for (int i = 0; i < 60000; ++i) {
        v += int(rng.bounded(21)) - 10;
        walkX << i;
        walkY << v;
        // x runs back and forth: columns are revisited.
        sawX << (i % 5000) * ((i / 5000) % 2 ? -1 : 1) + ((i / 5000) % 2 ? 5000 : 0);
        sawY << qint32(rng.bounded(1000));
        spikeX << i;
        spikeY << (i % 997 == 0 ? 100000 : 0);
    }
    QTest::newRow("random walk") << walkX << walkY;
    QTest::newRow("x back and forth") << sawX << sawY;
    QTest::newRow("rare spikes") << spikeX << spikeY;
}

void TestGraphRender::thinnedCurvesDrawTheSamePixels()
{
    QFETCH(QVector<qint32>, x);
    QFETCH(QVector<qint32>, y);
    LinePlotData data;
    data.series << tableSeries(3, x, y) << tableSeries(4, x, QVector<qint32>(y.size(), 0));
    data.xMinimum = *std::min_element(x.cbegin(), x.cend());
    data.xMaximum = *std::max_element(x.cbegin(), x.cend());
    data.yMinimum = std::min(0, *std::min_element(y.cbegin(), y.cend()));
    data.yMaximum = std::max(0, *std::max_element(y.cbegin(), y.cend()));
    data.xSample = data.ySample = QStringLiteral("-00000");

    data.thinAbovePointsPerColumn = 0;
    LineGraphRenderer full(frame(700, 394), data);
    const QImage fullImage = full.render();
    data.thinAbovePointsPerColumn = 4;
    LineGraphRenderer thin(frame(700, 394), data);
    const QImage thinImage = thin.render();
    QCOMPARE(thinImage, fullImage);
    // ... from far fewer points.
    QVERIFY(thin.curvePoints(data.series.at(0)).size() < x.size() / 2);
}

void TestGraphRender::cellByCellSeriesWithMissingValues()
{
    LineSeriesData s;
    s.color = channelColour(5);
    s.hasRows = true;
    s.x = {0, 50, 100};
    s.y = {100, 0, 100};
    s.missing = {false, true, false};
    LinePlotData data;
    data.series << s;
    data.xMaximum = 100;
    data.yMaximum = 100;
    data.xSample = data.ySample = QStringLiteral("000");
    LineGraphRenderer r(frame(400, 225), data);
    const QVector<QPoint> points = r.curvePoints(s);
    QCOMPARE(points.size(), 3);
    r.render();
    const QVector<QPoint> after = r.curvePoints(s);
    // The missing point sits at the plot origin.
    QCOMPARE(after.at(1), QPoint(r.labelColumnWidth(), r.plotHeight() + r.frame().margins.top() - 1));
}

void TestGraphRender::barPositions_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<QVector<int>>("lefts");
    QTest::addColumn<int>("width");
    // 600 pixels of plot, top margin 30: slot (600 - 60) / 3 = 180.
    QTest::newRow("scale 1: slot-wide bars") << 1.0 << QVector<int>{60, 240, 420} << 120;
    QTest::newRow("scale 0.5: bars of 100") << 0.5 << QVector<int>{33, 213, 393} << 66;
}

void TestGraphRender::barPositions()
{
    QFETCH(double, scale);
    QFETCH(QVector<int>, lefts);
    QFETCH(int, width);
    GraphFrame f = frame(0, 400);
    f.margins = QMargins(70, 30, 70, 30);
    f.imageSize.setWidth(70 + 600 + 70);
    BarPlotData data;
    BarSeriesData s;
    s.color = channelColour(0);
    s.values = {10, 20, 30};
    data.series << s;
    data.maximum = 30;
    data.scaleFactor = scale;
    data.labels = QStringList{"A", "B", "C"};
    BarGraphRenderer r(f, data);
    const QImage image = r.render();
    const auto bars = r.bars();
    QCOMPARE(bars.size(), 3);
    for (int i = 0; i < 3; ++i) {
        // Each bar lies in the cell of its category label.
        const int cellLeft = 70 + i * r.cellWidth();
        QVERIFY(bars.at(i).rect.left() >= cellLeft);
        QVERIFY(bars.at(i).rect.right() < cellLeft + r.cellWidth());
        QCOMPARE(bars.at(i).rect.left(), 70 + lefts.at(i));
        QCOMPARE(bars.at(i).rect.width(), width);
        QCOMPARE(bars.at(i).rect.bottom(), r.plotHeight() + 30 - 1);
        QCOMPARE(image.pixelColor(bars.at(i).rect.center()), s.color);
    }
    QVERIFY(bars.at(0).rect.height() < bars.at(2).rect.height());
}

void TestGraphRender::barsOfSeveralSeriesSideBySide()
{
    BarPlotData data;
    for (int k = 0; k < 2; ++k) {
        BarSeriesData s;
        s.color = channelColour(k);
        s.values = {10, 20};
        s.hasLimit = k == 1;
        s.limitRow = 1;
        s.limit = 15;
        data.series << s;
    }
    data.maximum = 20;
    GraphFrame f = frame(800, 450);
    BarGraphRenderer r(f, data);
    const QImage image = r.render();
    const auto bars = r.bars();
    QCOMPARE(bars.size(), 5);  // four values and one limit
    // No value bar hides another (a limit bar stands half behind its own
    // row's bar), and every value bar shows its colour.
    for (int i = 0; i < bars.size(); ++i) {
        if (bars.at(i).limit)
            continue;
        for (int j = i + 1; j < bars.size(); ++j)
            if (!bars.at(j).limit)
                QVERIFY(!bars.at(i).rect.intersects(bars.at(j).rect));
        QCOMPARE(image.pixelColor(bars.at(i).rect.center()), bars.at(i).color);
    }
    const auto limit = std::find_if(bars.cbegin(), bars.cend(), [](const auto &b) { return b.limit; });
    QCOMPARE(limit->color, channelColour(1).darker(200));
}

void TestGraphRender::negativeBarsStayInsidePlot()
{
    BarPlotData data;
    BarSeriesData s;
    s.color = channelColour(0);
    s.values = {-50, 100};
    data.series << s;
    data.minimum = -50;
    data.maximum = 100;
    GraphFrame f = frame(600, 338);
    BarGraphRenderer r(f, data);
    r.render();
    const QRect plot(f.margins.left(), f.margins.top(), r.plotWidth(), r.plotHeight());
    for (const auto &bar : r.bars())
        QVERIFY(plot.contains(bar.rect));
    // Both bars meet at the zero line.
    QCOMPARE(r.bars().at(0).rect.top(), r.bars().at(1).rect.bottom() + 1);
}

void TestGraphRender::categoryCellsHoldTheirBars()
{
    // Margins of a real font on a plot not much wider than them: the bars
    // leave room at the right, and the labels must still stand under them.
    for (int series : {1, 2}) {
        BarPlotData data;
        for (int k = 0; k < series; ++k) {
            BarSeriesData s;
            s.color = channelColour(k);
            s.values = {10, 20, 30};
            data.series << s;
        }
        data.maximum = 30;
        data.labels = QStringList{"A1", "A2", "B1"};
        BarGraphRenderer r(frame(800, 560), data);
        r.render();
        const auto bars = r.bars();
        QCOMPARE(bars.size(), 3 * series);
        for (int i = 0; i < bars.size(); ++i) {
            const int row = i % 3;
            const int cellLeft = r.frame().margins.left() + row * r.cellWidth();
            QVERIFY(bars.at(i).rect.left() >= cellLeft);
            QVERIFY(bars.at(i).rect.right() < cellLeft + r.cellWidth());
        }
    }
}

void TestGraphRender::tinyImages()
{
    // Images smaller than their margins draw nothing sensible but must not
    // fail: negative plot sizes, no room for a tick, no area at all.
    LinePlotData line;
    line.series << tableSeries(0, {0, 10}, {0, 10});
    line.xMaximum = line.yMaximum = 10;
    BarPlotData bar;
    BarSeriesData s;
    s.values = {1, 2};
    bar.series << s;
    bar.maximum = 2;
    bar.labels = QStringList{"a", "b"};
    for (const QSize &size : {QSize(1, 1), QSize(20, 11), QSize(0, 0)}) {
        GraphFrame f = frame(size.width(), size.height());
        LineGraphRenderer l(f, line);
        BarGraphRenderer b(f, bar);
        const QImage li = l.render();
        const QImage bi = b.render();
        QCOMPARE(li.isNull(), size.isEmpty());
        QCOMPARE(bi.isNull(), size.isEmpty());
        if (!size.isEmpty()) {
            QCOMPARE(li.size(), size);
            QCOMPARE(bi.size(), size);
        }
    }
}

QTEST_MAIN(TestGraphRender)
#include "tst_graphrender.moc"

