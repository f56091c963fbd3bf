#include "linegraph.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QLoggingCategory>

#include "simpletable.h"
#include "xyselectlineproxymodel.h"

Q_DECLARE_LOGGING_CATEGORY(lcGraph)

namespace {

// The table behind a column proxy, when there is one: its columns are then
// read as they are stored instead of cell by cell.
const SimpleTable *tableBehind(const QAbstractItemModel *model, const XYSelectLineProxyModel **proxyOut)
{
    const auto *proxy = qobject_cast<const XYSelectLineProxyModel *>(model);
    if (!proxy)
        return nullptr;
    *proxyOut = proxy;
    return qobject_cast<const SimpleTable *>(proxy->sourceModel());
}

SimpleTable::Column columnOf(const SimpleTable *table, int column)
{
    if (column < 0 || column >= table->columns().size())
        return SimpleTable::Column();
    return table->columns().at(column);
}

} // namespace

LineGraph::LineGraph(QWidget *parent, const QString &title)
    : AbstractGraph(parent, title)
{
}

void LineGraph::clearData()
{
    AbstractGraph::clearData();
    m_models.clear();
    m_errorEvents = nullptr;
    m_configEvents = nullptr;
    m_xFormatter = nullptr;
    m_yFormatter = nullptr;
    m_xSample.clear();
    m_ySample.clear();
    m_xMaximum = m_yMaximum = m_xMinimum = m_yMinimum = 0;
    m_xMaximumSet = m_xMinimumSet = false;
}

void LineGraph::setAxisLabelFormat(bool yAxis, LabelFormatter formatter, const QString &sample)
{
    if (yAxis) {
        m_yFormatter = std::move(formatter);
        m_ySample = sample;
    } else {
        m_xFormatter = std::move(formatter);
        m_xSample = sample;
    }
}

void LineGraph::setErrorEventRow(QAbstractItemModel *model, const QString &label)
{
    m_errorEvents = model;
    m_errorEventLabel = label;
}

void LineGraph::setConfigEventRow(QAbstractItemModel *model, const QString &label)
{
    m_configEvents = model;
    m_configEventLabel = label;
}

int LineGraph::addModel(QAbstractItemModel *model, const QString &name, const QString &description,
                        int colorIndex)
{
    if (!model)
        return -1;
    QElapsedTimer clock;
    clock.start();
    qCDebug(lcGraph) << "start modell add";
    Series s;
    s.name = name.isEmpty() ? QStringLiteral("Data ") + QString::number(m_series.size()) : name;
    s.description = description;
    s.colorIndex = colorIndex;
    m_series.append(s);
    m_models.append(model);
    widenRange(model);
    qCDebug(lcGraph) << "end modell add elapsed msecs:" << clock.elapsed();
    return 0;
}

void LineGraph::widenX(double x)
{
    if (x > m_xMaximum || !m_xMaximumSet) {
        m_xMaximum = x;
        m_xMaximumSet = true;
    }
    if (x < m_xMinimum || !m_xMinimumSet) {
        m_xMinimum = x;
        m_xMinimumSet = true;
    }
}

void LineGraph::widenY(double y)
{
    // The y range starts from 0 after clearData, so it always holds 0.
    if (y > m_yMaximum)
        m_yMaximum = y;
    if (y < m_yMinimum)
        m_yMinimum = y;
}

void LineGraph::widenRange(QAbstractItemModel *model)
{
    const XYSelectLineProxyModel *proxy = nullptr;
    if (const SimpleTable *table = tableBehind(model, &proxy)) {
        // The same cells the proxy would show, read without a QVariant each.
        for (qint32 x : columnOf(table, proxy->xColumn()))
            widenX(x);
        for (qint32 y : columnOf(table, proxy->yColumn()))
            widenY(y);
        return;
    }
    const int rows = model->rowCount();
    for (int r = 0; r < rows; ++r) {
        const QVariant x = model->data(model->index(r, 0));
        const QVariant y = model->data(model->index(r, 1));
        if (x.isValid())
            widenX(x.toDouble());
        if (y.isValid())
            widenY(y.toDouble());
    }
}

LineSeriesData LineGraph::seriesData(int n) const
{
    LineSeriesData out;
    out.color = seriesColor(n);
    QAbstractItemModel *model = m_models.at(n);
    if (!model)
        return out;  // the user deleted it: nothing to draw
    out.hasRows = model->rowCount() > 0;
    if (!out.hasRows)
        return out;
    const XYSelectLineProxyModel *proxy = nullptr;
    if (const SimpleTable *table = tableBehind(model, &proxy)) {
        out.x = columnOf(table, proxy->xColumn());
        out.y = columnOf(table, proxy->yColumn());
        return out;
    }
    const int rows = model->rowCount();
    out.x.resize(rows);
    out.y.resize(rows);
    out.missing.resize(rows);
    for (int r = 0; r < rows; ++r) {
        const QVariant x = model->data(model->index(r, 0));
        const QVariant y = model->data(model->index(r, 1));
        if (x.isValid() && y.isValid()) {
            out.x[r] = x.toInt();
            out.y[r] = y.toInt();
        } else {
            qCDebug(lcGraph) << "X Col" << r << "Y Col" << r;
            out.missing[r] = true;
        }
    }
    return out;
}

EventRowData LineGraph::eventRow(QAbstractItemModel *model, const QString &label, const QColor &color)
{
    EventRowData row;
    row.label = label;
    row.color = color;
    if (!model || model->rowCount() == 0)
        return row;
    row.shown = true;
    const int rows = model->rowCount();
    row.times.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        const QVariant t = model->data(model->index(r, 0));
        if (t.isValid())
            row.times.append(t.toDouble());
    }
    return row;
}

LinePlotData LineGraph::plotData() const
{
    LinePlotData data;
    for (int n = 0; n < m_series.size() && n < m_models.size(); ++n)
        data.series.append(seriesData(n));
    data.xMinimum = m_xMinimum;
    data.xMaximum = m_xMaximum;
    data.yMinimum = m_yMinimum;
    data.yMaximum = m_yMaximum;
    data.xFormatter = m_xFormatter;
    data.yFormatter = m_yFormatter;
    data.xSample = m_xSample;
    data.ySample = m_ySample;
    data.errorRow = eventRow(m_errorEvents, m_errorEventLabel, m_errorEventColor);
    data.configRow = eventRow(m_configEvents, m_configEventLabel, m_configEventColor);
    data.thinAbovePointsPerColumn = m_thinAbove;
    return data;
}

std::shared_ptr<GraphRenderer> LineGraph::createRenderer(const GraphFrame &frame) const
{
    return std::make_shared<LineGraphRenderer>(frame, plotData());
}

int LineGraph::readableImageHeight(const GraphFrame &frame) const
{
    int rows = 0;
    for (const QPointer<QAbstractItemModel> &events : {m_errorEvents, m_configEvents})
        rows += events && events->rowCount() > 0 ? 1 : 0;
    return LineGraphRenderer::imageHeightFor(LineGraphRenderer::readablePlotHeight(frame), frame, rows);
}

void LineGraph::takeRender(const GraphRenderer &renderer)
{
    if (const auto *line = dynamic_cast<const LineGraphRenderer *>(&renderer))
        m_xLabels = line->xLabels();
}
