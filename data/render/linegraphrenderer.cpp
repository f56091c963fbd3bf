#include "linegraphrenderer.h"

#include <QPainter>
#include <algorithm>

#include "columnreducer.h"
#include "polylinepixels.h"
#include "ticksteps.h"

LineGraphRenderer::LineGraphRenderer(const GraphFrame &frame, const LinePlotData &data)
    : GraphRenderer(frame)
    , m_data(data)
{
}

int LineGraphRenderer::labelColumnWidth() const
{
    const int h = fontHeight();
    return std::max({m_frame.margins.left() + 2 * h, metrics().horizontalAdvance(m_data.errorRow.label),
                     metrics().horizontalAdvance(m_data.configRow.label),
                     metrics().horizontalAdvance(m_data.ySample)});
}

int LineGraphRenderer::readablePlotHeight(const GraphFrame &frame)
{
    const QFontMetrics metrics(frame.font);
    // The title is cut unless it is narrower than the plot is high; a line
    // of room keeps it off the plot's corners.
    const int title = frame.yAxisTitle.isEmpty() ? 0 : metrics.boundingRect(frame.yAxisTitle).width() + metrics.height();
    return std::max(10 * metrics.height(), title);
}

int LineGraphRenderer::imageHeightFor(int plotHeight, const GraphFrame &frame, int eventRows)
{
    const int h = QFontMetrics(frame.font).height();
    return plotHeight + frame.margins.top() + frame.margins.bottom() + 2 * h * std::max(0, eventRows);
}

void LineGraphRenderer::computePlotHeight()
{
    // The margins and the event rows take their height; the plot the rest.
    const int rows = int(m_data.errorRow.shown) + int(m_data.configRow.shown);
    m_plotHeight = m_frame.imageSize.height() - imageHeightFor(0, m_frame, rows);
}

void LineGraphRenderer::computePlotWidth()
{
    m_plotWidth = m_frame.imageSize.width() - m_frame.margins.right() - labelColumnWidth();
    computeScales();
    computeXLabelSpace();
}

int LineGraphRenderer::shownWidth(const QString &text) const
{
    // Laid out as drawText lays out a label: a TAB, for one, is not as wide
    // here as in a plain advance.
    return metrics().boundingRect(QRect(0, 0, 1 << 20, band()), Qt::AlignHCenter | Qt::AlignTop, text).width();
}

void LineGraphRenderer::computeXLabelSpace()
{
    // The sample gives the first guess; the labels the ticks then show
    // decide. Wider labels mean fewer ticks, which may change the labels,
    // so the room is settled over a few rounds; it only grows.
    m_xLabelSpace = std::max(1, shownWidth(m_data.xSample));
    if (!m_data.xFormatter)
        return;
    for (int round = 0; round < 4; ++round) {
        int widest = 0;
        for (double t : xTicks())
            widest = std::max(widest, shownWidth(m_data.xFormatter(t)));
        if (widest <= m_xLabelSpace)
            return;
        m_xLabelSpace = widest;
    }
}

void LineGraphRenderer::computeScales()
{
    // A range without width has its one value in the middle of the plot:
    // at the plot's edge its points would be lost on the border, with no
    // label to say where they are.
    const double xSpan = m_data.xMaximum - m_data.xMinimum;
    const double ySpan = m_data.yMaximum - m_data.yMinimum;
    m_xScale = xSpan == 0.0 ? 0.0 : (m_plotWidth - 1) / xSpan;
    m_yScale = ySpan == 0.0 ? 0.0 : (m_plotHeight - 1) / ySpan;
    m_xShift = xSpan == 0.0 ? (m_plotWidth - 1) / 2 : 0;
    m_yShift = ySpan == 0.0 ? (m_plotHeight - 1) / 2 : 0;
}

QVector<double> LineGraphRenderer::xTicks() const
{
    if (m_data.xMaximum == m_data.xMinimum)
        return {m_data.xMinimum};
    return TickSteps::positions(m_data.xMinimum, m_data.xMaximum, xStep());
}

QVector<double> LineGraphRenderer::yTicks() const
{
    if (m_data.yMaximum == m_data.yMinimum)
        return {m_data.yMinimum};
    return TickSteps::positions(m_data.yMinimum, m_data.yMaximum, yStep());
}

double LineGraphRenderer::xStep() const
{
    // Both axes divide the plot width by their label room.
    const int ticks = TickSteps::maxTickCount(m_plotWidth, m_xLabelSpace);
    return TickSteps::step(m_data.xMaximum - m_data.xMinimum, ticks);
}

double LineGraphRenderer::yStep() const
{
    int ticks = TickSteps::maxTickCount(m_plotWidth, metrics().horizontalAdvance(m_data.ySample));
    // A low plot holds fewer labels one above the other than its width
    // suggests; stacked closer than a line and a quarter they crowd.
    ticks = std::min(ticks, std::max(1, m_plotHeight / std::max(1, fontHeight() * 5 / 4)));
    return TickSteps::step(m_data.yMaximum - m_data.yMinimum, ticks);
}

void LineGraphRenderer::drawGrid(QPainter &p)
{
    if (m_data.series.isEmpty())
        return;
    const int h = fontHeight();
    const int left = labelColumnWidth();
    // Grid lines cross the whole plot (a range without width has its one
    // value in the middle, not at the top or right edge).
    const int yTop = m_plotHeight - 1;
    const int xRight = m_plotWidth - 1;

    p.setPen(m_frame.gridColor);
    for (double t : xTicks()) {
        const int x = left + xOffset(t);
        p.drawLine(x, originY(), x, originY() - yTop);
    }

    int rowOrigin = originY();
    for (const EventRowData *row : {&m_data.errorRow, &m_data.configRow}) {
        if (!row->shown)
            continue;
        rowOrigin += 2 * h;
        p.setPen(row->color);
        for (double t : row->times) {
            if (t < m_data.xMinimum || t > m_data.xMaximum)
                continue;
            const int x = left + xOffset(t);
            p.drawLine(x, rowOrigin - h / 2, x, rowOrigin - (h + h / 2));
        }
    }

    p.setPen(m_frame.gridColor);
    for (double t : yTicks()) {
        const int y = originY() - yOffset(t);
        p.drawLine(left, y, left + xRight, y);
    }
}

void LineGraphRenderer::drawAxis(QPainter &p)
{
    if (m_data.series.isEmpty())
        return;
    const int h = fontHeight();
    const int b = band();
    const int left = labelColumnWidth();
    const int labelWidth = left - 2 * h;

    p.setPen(m_frame.axisColor);
    const int xLabelTop = m_frame.imageSize.height() - m_frame.margins.bottom();
    m_xLabels.clear();
    for (double t : xTicks()) {
        AxisLabel label;
        label.text = m_data.xFormatter ? m_data.xFormatter(t) : QString();
        // The room holds every label of this axis; only a label wider than
        // the whole plot is cut.
        label.shown = label.text;
        if (shownWidth(label.shown) > m_xLabelSpace)
            label.shown = elide(label.text, m_xLabelSpace);
        label.shownWidth = shownWidth(label.shown);
        label.room = m_xLabelSpace;
        const int w = std::max(label.shownWidth, 1);
        label.rect = QRect(left + xOffset(t) - w / 2, xLabelTop, w, b);
        p.drawText(label.rect, Qt::AlignHCenter | Qt::AlignTop, label.shown);
        m_xLabels.append(label);
    }

    const int top = m_frame.margins.top();
    for (double t : yTicks()) {
        const QString text = elide(m_data.yFormatter ? m_data.yFormatter(t) : QString(), labelWidth);
        const int y = top + m_plotHeight - yOffset(t) - h / 2;
        p.drawText(QRect(2 * h, y, labelWidth, h), Qt::AlignRight | Qt::AlignVCenter, text);
    }

    int rowTop = top + m_plotHeight;
    for (const EventRowData *row : {&m_data.errorRow, &m_data.configRow}) {
        if (!row->shown)
            continue;
        p.setPen(row->color);
        p.drawText(QRect(2 * h, rowTop + h / 2, labelWidth, h), Qt::AlignRight | Qt::AlignVCenter,
                   elide(row->label, labelWidth));
        rowTop += 2 * h;
    }
}

QVector<QPoint> LineGraphRenderer::curvePoints(const LineSeriesData &s) const
{
    const int left = labelColumnWidth();
    const int bottom = originY();
    const int n = s.missing.isEmpty() ? std::min(s.x.size(), s.y.size()) : s.x.size();
    QVector<QPoint> points;
    const bool thin = m_data.thinAbovePointsPerColumn > 0
                      && qint64(n) > qint64(m_data.thinAbovePointsPerColumn) * std::max(1, m_plotWidth);
    if (!thin) {
        points.reserve(n);
        for (int i = 0; i < n; ++i) {
            if (!s.missing.isEmpty() && s.missing.at(i))
                points.append(QPoint(left, bottom));
            else
                points.append(QPoint(left + xOffset(s.x.at(i)), bottom - yOffset(s.y.at(i))));
        }
        return points;
    }
    points.reserve(4 * std::max(1, m_plotWidth) + 8);
    ColumnReducer reducer(&points);
    const qint32 *xs = s.x.constData();
    const qint32 *ys = s.y.constData();
    for (int i = 0; i < n; ++i) {
        if (!s.missing.isEmpty() && s.missing.at(i))
            reducer.add(QPoint(left, bottom));
        else
            reducer.add(QPoint(left + xOffset(xs[i]), bottom - yOffset(ys[i])));
    }
    reducer.finish();
    return points;
}

void LineGraphRenderer::drawData(QPainter &p)
{
    for (const LineSeriesData &s : m_data.series) {
        if (!s.hasRows)
            continue;
        const QVector<QPoint> points = curvePoints(s);
        if (points.isEmpty())
            continue;
        const QPoint first = points.constFirst();
        const bool onePlace = std::all_of(points.cbegin(), points.cend(), [first](QPoint q) { return q == first; });
        if (onePlace) {
            // One point (a log with one lubrication event), or several that
            // fall on one pixel (events of one second with one value): a
            // dot that can be seen, not a pixel lost on the grid lines.
            const int r = dotRadius();
            p.setPen(Qt::NoPen);
            p.setBrush(s.color);
            p.drawEllipse(first, r, r);
            p.setBrush(Qt::NoBrush);
            continue;
        }
        QVector<QPoint> pixels;
        PolylinePixels::append(pixels, points.constData(), points.size());
        p.setPen(QPen(s.color, 0));
        p.drawPoints(pixels.constData(), pixels.size());
    }
}
