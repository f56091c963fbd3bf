#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>

#include "errordecode.h"
#include "measurementcsv.h"
#include "measurementtable.h"
#include "requestgate.h"
#include "simpletable.h"
#include "xyselectlineproxymodel.h"

class Confighandler;
class QTimer;
class EthernetHandler;
class LineGraph;
class ValueBar;

// Reads one kind of measurement data (a step of the processing chain) for
// the selected channels through the unit's block transfer, one transfer per
// channel, and shows it: curves in the line graph, or the SKW on the seven
// value bars. It keeps the tables and the export texts of the last
// successful acquisition for the CSV export.
//
// The first channel that fails ends the read at once, and the channels after
// it are not asked: the unit refuses it (an error answer), it brings no
// values, or the link fails (no answer, or the link watch gives the unit up).
// One message says why (with the channels not read, where the unit or the
// link failed); nothing of the read is shown and the tables keep their
// previous content.
//
// Every request waits for its answer in a nested event loop; the class says
// when (waitingForUnit), so that the window can lock what would start a
// second request meanwhile.
class DataAcquisition : public QObject
{
    Q_OBJECT

public:
    using Step = MeasurementTable::Step;
    static constexpr int kChannels = MeasurementTable::kChannels;

    DataAcquisition(EthernetHandler *handler, Confighandler *config, QObject *parent = nullptr);
    ~DataAcquisition() override;

    // The widgets it fills; any may be null.
    void setViews(LineGraph *graph, const std::array<ValueBar *, kChannels> &bars);

    // Reads `step` for the channels of `mask` (bit n = channel n). True when
    // the tables were refilled.
    bool getData(Step step, uint8_t mask);

    // Starts a measurement run on the unit that stops itself after
    // `intervalMs`. False (reported) when the unit refuses the start.
    bool startTimedRun(int intervalMs);
    // A run was started and its stop has not gone out yet.
    bool isTimedRunPending() const { return m_runGoing; }
    // Ends a run still going at once, on the unit the tool talks to now,
    // instead of when its time is up. True when the unit took the stop; a
    // refusal is reported.
    bool endTimedRun();
    // Switches the unit's reference-run mode; a refusal is reported.
    bool setRefRunMode(bool on);

    // Clears the graph, hides the bars and shows nothing.
    void resetDataView();
    // Forgets what the last acquisition read (the tables and the export
    // texts) and resets the view: they carry no sign of the unit they came
    // from, so they go when the tool leaves it.
    void clearData();
    // The graph's titles for the step shown (empty when none), then a redraw.
    void refreshGraphTitles();

    Step currentDataStep() const { return m_currentStep; }
    // The table behind the step: bars for the SKW, curves otherwise.
    SimpleTable &tableFor(Step step) { return MeasurementTable::showsBars(step) ? m_barTable : m_lineTable; }
    SimpleTable &lineTable() { return m_lineTable; }
    SimpleTable &barTable() { return m_barTable; }
    XYSelectLineProxyModel *lineProxy(int channel) { return m_lineProxies[size_t(channel)].get(); }
    XYSelectLineProxyModel *barProxy(int channel) { return m_barProxies[size_t(channel)].get(); }
    const MeasurementCsv::Texts &exportTexts() const { return m_exportTexts; }

    static QString graphTitle(Step step);
    // Label formats of the graph's axes: time with two significant digits,
    // samples as integers.
    static QString timeLabel(double value);
    static QString sampleLabel(double value);

public slots:
    // Ends the timed run: the view is reset (the data it showed is old now)
    // and the unit told to stop.
    void stopDataRun();

signals:
    // After each of the seven channels, selected or not: 1 .. 7.
    void channelDone(uint32_t channelsDone);
    void failed(QString message);
    // A request to the unit goes out (true) and has ended (false).
    void waitingForUnit(bool waiting);

private:
    // Announces one request (or the read of all channels) for as long as it
    // lives, and holds the gate: nothing else goes to the unit meanwhile.
    class RequestScope
    {
    public:
        explicit RequestScope(DataAcquisition *owner) : m_owner(owner) { emit owner->waitingForUnit(true); }
        ~RequestScope()
        {
            if (m_owner)
                emit m_owner->waitingForUnit(false);
        }
        RequestScope(const RequestScope &) = delete;
        RequestScope &operator=(const RequestScope &) = delete;

    private:
        RequestHold m_hold;
        QPointer<DataAcquisition> m_owner;
    };

    void showTables(Step step, uint8_t mask);
    bool sendStop();
    static QString errorText(errorCode_e r);
    static QString noDataText();
    // "Channels not read: ..." for the channels of `mask` from `first` on;
    // empty when there are none.
    QString notReadFrom(int first, uint8_t mask) const;

    EthernetHandler *m_handler;
    Confighandler *m_config;
    LineGraph *m_graph = nullptr;
    std::array<ValueBar *, kChannels> m_bars{};
    SimpleTable m_lineTable;
    SimpleTable m_barTable;
    std::array<std::unique_ptr<XYSelectLineProxyModel>, kChannels> m_lineProxies;
    std::array<std::unique_ptr<XYSelectLineProxyModel>, kChannels> m_barProxies;
    Step m_currentStep = MeasurementTable::NoStep;
    QTimer *m_runTimer = nullptr;
    bool m_runGoing = false;
    MeasurementCsv::Texts m_exportTexts;
    bool m_linkLost = false;  // the link watch gave the unit up during the read
};
