#include "unitsimfixture.h"

#include <QTest>

#include <QAtomicInteger>

#include "ethernetframe.h"
#include "metatypes.h"
#include "settle.h"
#include "udpserver.h"

LinkTimings SimLink::fastTimings()
{
    LinkTimings t;
    t.baseTimeoutMs = 150;
    t.heartbeatMs = 100;
    // Ten heartbeats per watchdog period: a busy machine that holds up a
    // few of them must not lose the link.
    t.watchdogMs = 1000;
    t.watchdogSingleCoreMs = 2000;
    return t;
}

bool SimLink::start(const QHostAddress &unit, int threads, const LinkTimings &timings, bool broadcast)
{
    registerMetaTypes();
    sim = std::make_unique<UnitSim>();
    sim->setAddress(unit);
    sim->setListenBroadcast(broadcast);
    sim->setPushInterval(0);
    sim->setRestartSilence(300);
    QString error;
    if (!sim->start(&error)) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    device = std::make_unique<Device>(nullptr, threads);
    device->ethernetHandler()->setTimings(timings);
    device->startTransport();
    return true;
}

void SimLink::connectToUnit()
{
    handler()->setTargetIP(sim->address());
    QTRY_VERIFY_WITH_TIMEOUT(handler()->isConnected(), 20000);
}

bool SimLink::unitHasReadAll(int timeoutMs)
{
    // What the program sent so far waits in the transport thread's queue
    // (or went out at once without a worker thread); this goes behind it.
    if (!settle::postedEventsHandled(device->udpServer(), timeoutMs))
        return false;
    return settle::unitHasRead(sim.get(), sim->address(), timeoutMs);
}

bool SimLink::handlerHasReadAll(int timeoutMs)
{
    UDPServer *server = device->udpServer();
    const QByteArray marker = settle::marker();
    // The transport reads on its own thread: the marker is looked for there.
    // Its handler was connected first, so the marker's queued delivery to
    // the handler is posted before it is seen here.
    auto seen = std::make_shared<QAtomicInteger<int>>(0);
    const QMetaObject::Connection c = QObject::connect(
        server, &UDPServer::messageReceivedSignal, [seen, marker](const QByteArray &d, const QHostAddress &) {
            if (d == marker)
                seen->storeRelease(1);
        });
    // From the unit's address, as its datagrams come; too short for a
    // frame, the handler drops it without a trace.
    QHostAddress to = server->localAddress();
    // A socket bound on its first write listens on the wildcard address.
    bool v4 = false;
    if (to.toIPv4Address(&v4) == 0 || !v4)
        to = QHostAddress(QHostAddress::LocalHost);
    const bool ok = settle::markerSeen(sim->address(), to, server->localPort(), marker,
                                       [seen] { return seen->loadAcquire() == 1; }, timeoutMs);
    QObject::disconnect(c);
    return ok && settle::postedEventsHandled(handler(), timeoutMs);
}

LinkTimings SimLink::quietTimings()
{
    LinkTimings t = fastTimings();
    t.heartbeatMs = 60000;
    // Without heartbeats nothing would keep a short watchdog going between
    // a test's own requests: a pause on a busy machine would lose the link.
    t.watchdogMs = 60000;
    t.watchdogSingleCoreMs = 60000;
    return t;
}

QVector<UnitSimRequest> requestsOf(const UnitSim &sim, uint8_t command)
{
    QVector<UnitSimRequest> out;
    for (const auto &r : sim.requestLog())
        if (r.command == command)
            out.append(r);
    return out;
}

QByteArray hexOf(const QByteArray &bytes)
{
    return bytes.toHex(' ');
}
