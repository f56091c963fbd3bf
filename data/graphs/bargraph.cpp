#include "bargraph.h"

#include "scalinghandlercont.h"

BarGraph::BarGraph(QWidget *parent, const QString &title)
    : AbstractGraph(parent, title)
{
    clearData();
}

void BarGraph::clearData()
{
    AbstractGraph::clearData();
    m_models.clear();
    m_labels.clear();
    m_limits.clear();
    m_maximum = 0;
    m_minimum = 0;
}

void BarGraph::widen(double value)
{
    if (value > m_maximum)
        m_maximum = value;
    if (value < m_minimum)
        m_minimum = value;
}

int BarGraph::addModel(QAbstractItemModel *model, double limit, int limitRow, const QString &name, int colorIndex)
{
    if (!model)
        return -1;
    Series s;
    s.name = name.isEmpty() ? QStringLiteral("Data ") + QString::number(m_series.size()) : name;
    s.colorIndex = colorIndex;
    m_series.append(s);
    m_models.append(model);
    Limit l;
    const int rows = model->rowCount();
    if (limitRow >= 0 && limitRow < rows) {
        l.set = true;
        l.row = limitRow;
        l.value = limit;
    }
    m_limits.append(l);
    for (int r = 0; r < rows; ++r) {
        const QVariant v = model->data(model->index(r, 1));
        if (v.isValid())
            widen(v.toDouble());
    }
    // The limit widens the range even when its row does not exist.
    widen(limit);
    return 0;
}

void BarGraph::updateLegend()
{
    AbstractGraph::updateLegend();
    for (int n = 0; n < m_series.size(); ++n)
        addLegendEntry(tr("Limit") + QLatin1Char(' ') + m_series.at(n).name, QString(), seriesColor(n).darker(200));
}

BarPlotData BarGraph::plotData() const
{
    BarPlotData data;
    for (int n = 0; n < m_series.size() && n < m_models.size(); ++n) {
        BarSeriesData s;
        s.color = seriesColor(n);
        if (QAbstractItemModel *model = m_models.at(n)) {
            const int rows = model->rowCount();
            s.values.resize(rows);
            for (int r = 0; r < rows; ++r)
                s.values[r] = model->data(model->index(r, 1)).toDouble();
        }
        s.hasLimit = m_limits.at(n).set && m_limits.at(n).row < s.values.size();
        s.limitRow = m_limits.at(n).row;
        s.limit = m_limits.at(n).value;
        data.series.append(s);
    }
    data.labels = m_labels;
    data.minimum = m_minimum;
    data.maximum = m_maximum;
    data.scaleFactor = ScalingHandlerCont::instance()->getScaleFactor();
    return data;
}

std::shared_ptr<GraphRenderer> BarGraph::createRenderer(const GraphFrame &frame) const
{
    return std::make_shared<BarGraphRenderer>(frame, plotData());
}
