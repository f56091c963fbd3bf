#pragma once

#include <cstdint>

// The save of a configuration on the unit, after the save was opened: the
// unit's heartbeats report a save status (above 0 while a save runs, 0 when
// the last one succeeded, below 0 when it failed) and whether the
// configuration was changed on the unit itself. One step per heartbeat:
// wait for the save to run, confirm it, wait for it to end, then report.
// Pure: the caller sends the confirmation and shows the outcome.
class SaveHandshake
{
public:
    enum class State { Idle, Running, Confirmed, Finished };

    enum class Step {
        None,             // nothing to do for this heartbeat
        Confirm,          // send the confirmation, then call confirmed()
        Fail,             // the save failed: end it with the error
        EndQuietly,       // the unit runs another save: end this one, no message
        Succeed,          // the save succeeded
        SucceedModified,  // it succeeded, and the unit's configuration was changed on the unit
    };

    State state() const { return m_state; }

    // The next step for a heartbeat with this save status and modified flag.
    Step onHeartbeat(int32_t status, bool modified);
    // The outcome of the confirmation that Confirm asked for.
    Step confirmed(bool ok);
    // A heartbeat that arrived while the confirmation waited on the unit: a
    // failure it reports must not go unseen.
    void noteWhileConfirming(int32_t status);

    // Back to the start, forgetting any failure seen; every end of a save
    // (success, failure, a new save, a lost link) comes through here.
    void reset();

private:
    State m_state = State::Idle;
    bool m_negativeSeen = false;
};
