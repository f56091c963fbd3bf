#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

// One request sequence at a time. A request waits for its answer in a nested
// event loop, and everything the event loop delivers meanwhile (a click, a
// heartbeat, a timer) could start a second request: the link refuses that one
// with "already waiting" (-1100), and a sequence cut in two (the
// configuration read after connecting, a write) leaves half a configuration
// behind. So every sequence holds this gate from its first request to its
// last answer (RequestHold), the link holds it around every single wait too,
// and the window shows a held gate as a wait that covers every control.
// Work that no user starts (a heartbeat's read, a timer's stop) asks
// whenFree() instead of sending at once.
// The connect dialog's search holds the gate as well (it shares the single
// answer wait), but leaves the window in reach: the dialog covers it, and
// the engineer may choose a unit while the search runs.
class RequestGate : public QObject
{
    Q_OBJECT
public:
    static RequestGate &instance();

    // Some sequence holds the gate (work asked for waits).
    bool isHeld() const { return m_depth > 0; }
    // A hold that locks the window is among them.
    bool locksWindow() const { return m_locking > 0; }

    // Runs `work` now when nothing holds the gate; otherwise once the last
    // hold has ended, from the event loop, in the order asked. Work whose
    // `context` has gone meanwhile is dropped.
    void whenFree(QObject *context, std::function<void()> work);

signals:
    // The first hold that locks the window began (true) or the last one
    // ended (false).
    void heldChanged(bool held);

private:
    friend class RequestHold;
    RequestGate() = default;
    void hold(bool locking);
    void release(bool locking);
    void runPending();

    int m_depth = 0;
    int m_locking = 0;
    bool m_runScheduled = false;
    struct Pending
    {
        QPointer<QObject> context;
        std::function<void()> work;
    };
    std::vector<Pending> m_pending;
};

// Holds the gate while it lives: `const RequestHold hold;` before the first
// request of a sequence.
class RequestHold
{
public:
    // How the window shows the hold: locked, or left in reach (the search).
    enum class Window { Locked, InReach };

    explicit RequestHold(Window window = Window::Locked)
        : m_locking(window == Window::Locked)
    {
        RequestGate::instance().hold(m_locking);
    }
    ~RequestHold() { RequestGate::instance().release(m_locking); }
    RequestHold(const RequestHold &) = delete;
    RequestHold &operator=(const RequestHold &) = delete;

private:
    const bool m_locking;
};
