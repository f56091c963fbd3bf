#pragma once

#include <QAbstractItemModel>
#include <QPointer>
#include <QVector>

#include "abstractgraph.h"
#include "linegraphrenderer.h"

// One curve per series over a common x and y range, with a 1-2-5 grid,
// labels from the user's formatters and, under the plot, up to two rows of
// event ticks (errors, configuration changes).
//
// Users call, in this order: clearData, addModel per series,
// setAxisLabelFormat for both axes, the axis titles, the event rows, then
// invalidate. The models belong to the user; each shows the x value in
// column 0 and the y value in column 1.
class LineGraph : public AbstractGraph
{
    Q_OBJECT

public:
    explicit LineGraph(QWidget *parent = nullptr, const QString &title = QString());

    // Also drops the models, event rows, formatters and sample texts and
    // resets the range (the event row labels stay).
    void clearData() override;

    // false: x axis, true: y axis. The sample is the widest label the axis
    // must hold. The formatter runs on the drawing thread, so it must not
    // touch widgets or state the GUI thread changes.
    void setAxisLabelFormat(bool yAxis, LabelFormatter formatter, const QString &sample);
    // Column 0 of the model holds the event times in x units.
    void setErrorEventRow(QAbstractItemModel *model, const QString &label);
    void setConfigEventRow(QAbstractItemModel *model, const QString &label);

    // Adds a series and widens the range over its rows: -1 for a null model,
    // else 0. An empty name becomes "Data <n>". Does not invalidate.
    int addModel(QAbstractItemModel *model, const QString &name, const QString &description, int colorIndex);

    double xMinimum() const { return m_xMinimum; }
    double xMaximum() const { return m_xMaximum; }
    double yMinimum() const { return m_yMinimum; }
    double yMaximum() const { return m_yMaximum; }

    // What a render would draw now; also what createRenderer hands over.
    LinePlotData plotData() const;
    // Thin curves above this many points per pixel column (0: never).
    void setThinning(int pointsPerColumn) { m_thinAbove = pointsPerColumn; }
    // The x labels of the image shown last, as drawn.
    const QVector<AxisLabel> &xAxisLabels() const { return m_xLabels; }

protected:
    std::shared_ptr<GraphRenderer> createRenderer(const GraphFrame &frame) const override;
    int readableImageHeight(const GraphFrame &frame) const override;
    void takeRender(const GraphRenderer &renderer) override;

private:
    void widenRange(QAbstractItemModel *model);
    void widenX(double x);
    void widenY(double y);
    LineSeriesData seriesData(int n) const;
    static EventRowData eventRow(QAbstractItemModel *model, const QString &label, const QColor &color);

    QVector<QPointer<QAbstractItemModel>> m_models;
    QPointer<QAbstractItemModel> m_errorEvents;
    QString m_errorEventLabel;
    QPointer<QAbstractItemModel> m_configEvents;
    QString m_configEventLabel;
    QString m_xSample;
    QString m_ySample;
    LabelFormatter m_xFormatter;
    LabelFormatter m_yFormatter;
    QColor m_errorEventColor{QStringLiteral("#E62C27")};
    QColor m_configEventColor{QStringLiteral("#0EBC5B")};
    double m_xMaximum = 0;
    double m_yMaximum = 0;
    double m_xMinimum = 0;
    double m_yMinimum = 0;
    bool m_xMaximumSet = false;
    bool m_xMinimumSet = false;
    int m_thinAbove = 4;
    QVector<AxisLabel> m_xLabels;
};
