#include "savehandshake.h"

SaveHandshake::Step SaveHandshake::onHeartbeat(int32_t status, bool modified)
{
    switch (m_state) {
    case State::Idle:
        if (status > 0)
            m_state = State::Running;
        return Step::None;
    case State::Running:
        return Step::Confirm;
    case State::Confirmed:
        // A failure the unit reports after the confirmation stands, even
        // when a later report shows 0 again.
        if (status < 0)
            m_negativeSeen = true;
        if (status <= 0)
            m_state = State::Finished;
        return Step::None;
    case State::Finished:
        break;
    }
    const bool failed = m_negativeSeen || status < 0;
    reset();
    if (failed)
        return Step::Fail;
    if (status > 0)
        return Step::EndQuietly;
    return modified ? Step::SucceedModified : Step::Succeed;
}

SaveHandshake::Step SaveHandshake::confirmed(bool ok)
{
    if (m_state != State::Running)
        return Step::None;
    if (!ok) {
        reset();
        return Step::Fail;
    }
    m_state = State::Confirmed;
    return Step::None;
}

void SaveHandshake::noteWhileConfirming(int32_t status)
{
    if (m_state == State::Running && status < 0)
        m_negativeSeen = true;
}

void SaveHandshake::reset()
{
    m_state = State::Idle;
    m_negativeSeen = false;
}
