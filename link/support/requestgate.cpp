#include "requestgate.h"

#include <QCoreApplication>
#include <QTimer>

RequestGate &RequestGate::instance()
{
    static RequestGate gate;
    // The window's thread: a first use from elsewhere must not keep it there.
    static const bool placed = [] {
        if (QCoreApplication::instance())
            gate.moveToThread(QCoreApplication::instance()->thread());
        return true;
    }();
    Q_UNUSED(placed)
    return gate;
}

void RequestGate::hold(bool locking)
{
    ++m_depth;
    if (locking && ++m_locking == 1)
        emit heldChanged(true);
}

void RequestGate::release(bool locking)
{
    if (m_depth <= 0)
        return;
    --m_depth;
    if (locking && m_locking > 0 && --m_locking == 0)
        emit heldChanged(false);
    if (m_depth > 0)
        return;
    if (!m_pending.empty() && !m_runScheduled) {
        // Not from here: the sequence that ended is still on the stack.
        m_runScheduled = true;
        QTimer::singleShot(0, this, &RequestGate::runPending);
    }
}

void RequestGate::whenFree(QObject *context, std::function<void()> work)
{
    if (!isHeld() && m_pending.empty()) {
        work();
        return;
    }
    m_pending.push_back({context, std::move(work)});
    if (!isHeld() && !m_runScheduled) {
        m_runScheduled = true;
        QTimer::singleShot(0, this, &RequestGate::runPending);
    }
}

void RequestGate::runPending()
{
    m_runScheduled = false;
    // One at a time: each may hold the gate again (and wait), and what is
    // left waits for its end.
    while (!m_pending.empty() && !isHeld()) {
        Pending next = std::move(m_pending.front());
        m_pending.erase(m_pending.begin());
        if (next.context)
            next.work();
    }
}
