#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <functional>

class QObject;

// Ways for a test to know that a moment has passed without guessing how long
// a busy machine takes for it: each waits for an event that can only come
// after everything before it, with a generous time-out. A negative check
// ("nothing more was sent") made after one of them sees all there was.
namespace settle {

// A timer of `ms`, started now, has fired. The timers of a thread fire in the
// order they fall due, so every timer of this thread due before it (a resend
// after its time-out, a notice's display time) has fired by then as well.
bool timersDue(int ms, int timeoutMs = 60000);

// The thread of `receiver` has handled every event posted to it before this
// call, the queued signals it was sent included.
bool postedEventsHandled(QObject *receiver, int timeoutMs = 20000);

// A datagram that no unit and no tool takes for a frame (shorter than any
// frame header), different from every other one this process makes.
QByteArray marker();

// Sends `marker` from `from` (any port) to `to`:`port`, then waits until
// `seen` is true. Loopback hands a datagram to the receiving socket while it
// is sent, so once the marker is seen there, every datagram sent to that
// socket before it has been read as well.
bool markerSeen(const QHostAddress &from, const QHostAddress &to, quint16 port, const QByteArray &marker,
                const std::function<bool()> &seen, int timeoutMs = 20000);

// Sends a marker to a simulated unit (UnitSim, BootloaderSim: anything with
// a datagramRead(QByteArray) signal) at `address`, port 7755, and waits until
// the unit has read it, and so everything that reached it before.
template <typename Unit>
bool unitHasRead(Unit *unit, const QHostAddress &address, int timeoutMs = 20000)
{
    const QByteArray m = marker();
    bool seen = false;
    const QMetaObject::Connection c =
        QObject::connect(unit, &Unit::datagramRead, [&](const QByteArray &d) { seen = seen || d == m; });
    const bool ok = markerSeen(QHostAddress(QHostAddress::LocalHost), address, 7755, m, [&] { return seen; }, timeoutMs);
    QObject::disconnect(c);
    return ok;
}

} // namespace settle
