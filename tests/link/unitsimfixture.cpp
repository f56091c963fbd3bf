#include "unitsimfixture.h"

#include <QTest>

#include "metatypes.h"

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
    QTRY_VERIFY_WITH_TIMEOUT(handler()->isConnected(), 2000);
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
