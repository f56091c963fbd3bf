#include "settle.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QMetaObject>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>
#include <memory>

namespace settle {

bool timersDue(int ms, int timeoutMs)
{
    auto fired = std::make_shared<bool>(false);
    QTimer::singleShot(ms, Qt::PreciseTimer, QCoreApplication::instance(), [fired] { *fired = true; });
    return QTest::qWaitFor([fired] { return *fired; }, ms + timeoutMs);
}

bool postedEventsHandled(QObject *receiver, int timeoutMs)
{
    // Shared: the call may run on the receiver's thread after a time-out
    // here has given up on it.
    auto done = std::make_shared<QAtomicInteger<int>>(0);
    QMetaObject::invokeMethod(receiver, [done] { done->storeRelease(1); }, Qt::QueuedConnection);
    return QTest::qWaitFor([done] { return done->loadAcquire() == 1; }, timeoutMs);
}

QByteArray marker()
{
    static quint16 next = 0;
    ++next;
    QByteArray bytes("MK");
    bytes.append(char(next >> 8));
    bytes.append(char(next & 0xFF));
    return bytes;
}

bool markerSeen(const QHostAddress &from, const QHostAddress &to, quint16 port, const QByteArray &marker,
                const std::function<bool()> &seen, int timeoutMs)
{
    QUdpSocket probe;
    if (!probe.bind(from, 0)) {
        qWarning("marker socket: %s", qPrintable(probe.errorString()));
        return false;
    }
    if (probe.writeDatagram(marker, to, port) != marker.size()) {
        qWarning("marker not sent: %s", qPrintable(probe.errorString()));
        return false;
    }
    return QTest::qWaitFor(seen, timeoutMs);
}

} // namespace settle
