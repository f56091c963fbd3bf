#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVector>
#include <algorithm>
#include <functional>

#include "graphrenderer.h"

// Turns an axis value into its label text.
using LabelFormatter = std::function<QString(double)>;

// One curve as it is drawn. Table data is shared with the table it came
// from (the vectors are implicitly shared, so taking it costs nothing and a
// refill of the table later leaves this copy untouched).
struct LineSeriesData
{
    QColor color;
    QVector<qint32> x;
    QVector<qint32> y;
    // Set only for data read cell by cell: points whose cells held no value
    // are drawn at the plot origin, as the curve has no other place for them.
    QVector<bool> missing;
    bool hasRows = false;
};

// A row of event ticks under the plot.
struct EventRowData
{
    bool shown = false;      // a model is set and has rows
    QVector<double> times;   // the valid event times, in x units
    QString label;
    QColor color;
};

struct LinePlotData
{
    QVector<LineSeriesData> series;
    double xMinimum = 0;
    double xMaximum = 0;
    double yMinimum = 0;
    double yMaximum = 0;
    LabelFormatter xFormatter;
    LabelFormatter yFormatter;
    QString xSample;
    QString ySample;
    EventRowData errorRow;
    EventRowData configRow;
    // A curve with more than this many points per pixel column is thinned
    // to each column's first, lowest, highest and last point (the same
    // pixels, far fewer strokes); 0 never thins.
    int thinAbovePointsPerColumn = 4;
};

// One x-axis label as drawn: the formatter's text, the text shown (the
// same unless it had to be cut) and where it stands in the image.
struct AxisLabel
{
    QString text;
    QString shown;
    QRect rect;
    int shownWidth = 0;  // what the shown text needs, laid out as it is drawn
    int room = 0;        // the room every label of the axis has
};

// Draws curves over a common x and y range with 1-2-5 grid steps, axis
// labels from the graph user's formatters and up to two event rows.
class LineGraphRenderer : public GraphRenderer
{
public:
    LineGraphRenderer(const GraphFrame &frame, const LinePlotData &data);

    // Pixel offsets of a value from the plot's left and bottom edge. An axis
    // whose range has no width (one point in time, or every value the same)
    // puts that value in the middle of the plot.
    int xOffset(double value) const { return int(qRound((value - m_data.xMinimum) * m_xScale)) + m_xShift; }
    int yOffset(double value) const { return int(qRound((value - m_data.yMinimum) * m_yScale)) + m_yShift; }

    // The least plot height that is read with ease: ten lines of the font,
    // and the y-axis title whole along it (it is cut to the plot's height).
    static int readablePlotHeight(const GraphFrame &frame);
    // The image height that leaves a plot of `plotHeight`: the frame's
    // margins above and below it and `eventRows` event rows under it.
    static int imageHeightFor(int plotHeight, const GraphFrame &frame, int eventRows);

    // The width of the column left of the plot that holds the y labels and
    // the event row labels.
    int labelColumnWidth() const;
    double xStep() const;
    double yStep() const;
    // The values that get a grid line and a label: the 1-2-5 steps over the
    // range, or the one value of a range without width.
    QVector<double> xTicks() const;
    QVector<double> yTicks() const;
    // The room of one x label: the widest label the axis shows (laid out as
    // drawn, so a TAB counts as it is drawn), and no less than the sample.
    // Known once render() has started.
    int xLabelSpace() const { return m_xLabelSpace; }
    // The x labels of the last render, in order.
    const QVector<AxisLabel> &xLabels() const { return m_xLabels; }
    // The width `text` takes when drawn as an axis label.
    int shownWidth(const QString &text) const;

    // The points of one curve in image pixels, thinned where it pays.
    QVector<QPoint> curvePoints(const LineSeriesData &series) const;
    // The radius of the dot that marks a curve whose points all fall on one
    // pixel (one point, or several alike), which as a line would be that
    // single pixel.
    int dotRadius() const { return std::max(2, fontHeight() / 5); }

protected:
    int plotLeft() const override { return labelColumnWidth(); }
    void computePlotHeight() override;
    void computePlotWidth() override;
    void drawAxis(QPainter &p) override;
    void drawGrid(QPainter &p) override;
    void drawData(QPainter &p) override;

private:
    void computeScales();
    void computeXLabelSpace();
    int originY() const { return m_plotHeight + m_frame.margins.top() - 1; }

    LinePlotData m_data;
    double m_xScale = 1.0;
    double m_yScale = 1.0;
    int m_xShift = 0;
    int m_yShift = 0;
    int m_xLabelSpace = 1;
    QVector<AxisLabel> m_xLabels;
};
