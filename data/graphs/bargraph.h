#pragma once

#include <QAbstractItemModel>
#include <QPointer>
#include <QStringList>
#include <QVector>

#include "abstractgraph.h"
#include "bargraphrenderer.h"

// Each row of each series as a vertical bar (the value in column 1), with
// an optional narrower, darker limit bar beside one row per series, and
// category labels under the bar groups.
class BarGraph : public AbstractGraph
{
    Q_OBJECT

public:
    explicit BarGraph(QWidget *parent = nullptr, const QString &title = QString());

    // Also drops models, labels and limits and resets the range to 0.
    void clearData() override;

    // -1 for a null model, else 0. A limitRow below the model's row count
    // gives the series a limit bar at that row. The range widens over the
    // values and the limit. Does not invalidate.
    int addModel(QAbstractItemModel *model, double limit, int limitRow, const QString &name, int colorIndex);
    void setLabels(const QStringList &labels) { m_labels = labels; }

    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    BarPlotData plotData() const;

protected:
    void updateLegend() override;
    std::shared_ptr<GraphRenderer> createRenderer(const GraphFrame &frame) const override;

private:
    struct Limit
    {
        bool set = false;
        int row = 0;
        double value = 0;
    };
    void widen(double value);

    double m_maximum = 0;
    double m_minimum = 0;
    QStringList m_labels;
    QVector<Limit> m_limits;  // one per series
    QVector<QPointer<QAbstractItemModel>> m_models;
};
