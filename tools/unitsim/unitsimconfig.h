#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <array>
#include <cstdint>
#include <functional>

#include "configrecords.h"

class UnitSim;
struct UnitSimRequest;
struct UnitSimReply;

// The simulated unit's side of configuration saves, and the configuration
// blob it holds. Attached to a UnitSim as its child.
//
// Saving: service action 0x12 opens a save, and from then on the heartbeat
// reports a positive save status; action 0x11 confirms it, and the heartbeat
// reports the final status (0, or a failure a test chooses). The final
// status stays until the next save, or for a given number of heartbeat
// answers after which the status goes back to 0. A slow unit reports the
// running status for a while after the confirmation before the final one. A confirmation without an
// open save is refused; the same confirmation sent again (same sequence
// number, its answer was lost) is answered as the first was.
class UnitSimConfig : public QObject
{
    Q_OBJECT
public:
    // The configuration part of `sim`, created and attached on first use.
    static UnitSimConfig *of(UnitSim *sim);

    // A configuration blob as a unit keeps it: every channel with catalogue
    // mapping and sensor entries, the unit's own MAC address as the owner of
    // the reference values (in the byte order of the MAC parameter), sealed
    // with filler from `seed`.
    static CFG_Blob_struct_sorted makeBlob(const std::array<uint8_t, 6> &mac, unsigned seed);
    // The same, scrambled as it travels and as the parameter store holds it.
    static QByteArray makeScrambledBlob(const std::array<uint8_t, 6> &mac, unsigned seed);

    // Status reported while a save runs (above 0).
    void setRunningStatus(int32_t status) { m_runningStatus = status > 0 ? status : 1; }
    // Status reported once the save is confirmed: 0 success, negative failure.
    void setFinalStatus(int32_t status) { m_finalStatus = status; }
    // Heartbeat answers that carry the final status before it returns to 0;
    // -1 keeps it until the next save.
    void setFinalStatusReports(int reports) { m_finalReports = reports; }
    // A slow save: after the confirmation the unit keeps reporting the
    // running status for this long before the final one (0: at once).
    void setSaveDurationMs(int ms) { m_saveDurationMs = ms > 0 ? ms : 0; }
    int saveDurationMs() const { return m_saveDurationMs; }
    // The flag saying the configuration was changed on the unit itself.
    void setConfigModified(bool modified);

    int32_t saveStatus() const;
    int savesOpened() const { return m_opened; }
    int savesConfirmed() const { return m_confirmed; }

private:
    enum class Save { Idle, Open, Confirmed };

    explicit UnitSimConfig(UnitSim *sim);
    void onServiceAction(const UnitSimRequest &request, UnitSimReply &reply);
    void onHeartbeat(const UnitSimRequest &request, UnitSimReply &reply);
    void setStatus(int32_t status);

    UnitSim *m_sim;
    std::function<void(const UnitSimRequest &, UnitSimReply &)> m_serviceAction;
    std::function<void(const UnitSimRequest &, UnitSimReply &)> m_heartbeat;
    Save m_save = Save::Idle;
    int32_t m_runningStatus = 1;
    int32_t m_finalStatus = 0;
    int m_finalReports = -1;
    int m_reportsLeft = 0;
    int m_saveDurationMs = 0;
    bool m_finalPending = false;  // confirmed, still saving (a slow save)
    QElapsedTimer m_saving;
    bool m_confirmTaken = false;
    uint16_t m_confirmSequence = 0;
    int m_opened = 0;
    int m_confirmed = 0;
};
