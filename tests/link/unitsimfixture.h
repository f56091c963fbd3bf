#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <memory>

#include "device.h"
#include "ethernethandler.h"
#include "unitsim.h"

// A simulated unit on a loopback address and a Device talking to it, both in
// this process. Timings are shortened so that retries and the watchdog run in
// a few hundred milliseconds.
struct SimLink
{
    std::unique_ptr<UnitSim> sim;
    std::unique_ptr<Device> device;

    // Starts the unit at `unit` and a Device with `threads` cores; the target
    // is not set yet. False (with a QWARN) when the unit cannot bind.
    bool start(const QHostAddress &unit, int threads = 2, const LinkTimings &timings = fastTimings(),
               bool broadcast = false);
    EthernetHandler *handler() { return device->ethernetHandler(); }

    // Sets the target and lets the first heartbeat exchange settle.
    void connectToUnit();

    // Everything the program handed to its transport so far has gone out
    // (or been dropped there) and the unit has read whatever went out. A
    // check that nothing (more) reached the unit made after it sees it all.
    bool unitHasReadAll(int timeoutMs = 20000);
    // Everything the unit sent so far has reached the handler and been
    // handled there.
    bool handlerHasReadAll(int timeoutMs = 20000);

    static LinkTimings fastTimings();
    // As fastTimings, with neither heartbeats nor a watchdog running during
    // a test (one heartbeat when the target is set).
    static LinkTimings quietTimings();
};

// The requests of one command the unit received, in order.
QVector<UnitSimRequest> requestsOf(const UnitSim &sim, uint8_t command);

// Hex text of a frame, for readable comparisons.
QByteArray hexOf(const QByteArray &bytes);
