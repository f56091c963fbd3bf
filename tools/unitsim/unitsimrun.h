#pragma once

#include <QObject>

class QCommandLineParser;
class UnitSim;
struct UnitSimRequest;
struct UnitSimReply;

// Timed measurement runs of the simulated unit (commands 0x23 start and 0x26
// stop) and what they leave behind, as the heartbeat shows it. Attached to a
// UnitSim as its child.
//
// While a run goes, the manual-run bit (bit 4 of the run-control byte) is
// clear and the data group reports busy (data-control 0x11). Stopping a run
// makes fresh measurement data (or, when asked, none) and reports the data
// as ready (0x10); a run stopped in reference-run mode (run-control low
// nibble 1) also sets the result-ready bit 5, which the tool answers with a
// reference-run result request. A stop without a run changes nothing.
class UnitSimRun : public QObject
{
    Q_OBJECT
public:
    static constexpr uint8_t kManualRunAllowed = 0x10;
    static constexpr uint8_t kResultReady = 0x20;
    static constexpr uint8_t kDataReady = 0x10;
    static constexpr uint8_t kDataBusy = 0x11;

    // The run part of `sim`, created and attached on first use.
    static UnitSimRun *of(UnitSim *sim);

    bool isRunning() const { return m_running; }
    int runsStarted() const { return m_started; }
    int runsStopped() const { return m_stopped; }
    // Whether a finished run leaves measurement data (default yes).
    void setLeavesData(bool leaves) { m_leavesData = leaves; }

    static void addOptions(QCommandLineParser &parser);
    static bool applyOptions(const QCommandLineParser &parser, UnitSim *sim, QString *error);

private:
    explicit UnitSimRun(UnitSim *sim);
    void onStart(const UnitSimRequest &request, UnitSimReply &reply);
    void onStop(const UnitSimRequest &request, UnitSimReply &reply);

    UnitSim *m_sim;
    bool m_running = false;
    bool m_leavesData = true;
    int m_started = 0;
    int m_stopped = 0;
};
