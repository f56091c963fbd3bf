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

    static LinkTimings fastTimings();
    // As fastTimings, with neither heartbeats nor a watchdog running during
    // a test (one heartbeat when the target is set).
    static LinkTimings quietTimings();
};

// The requests of one command the unit received, in order.
QVector<UnitSimRequest> requestsOf(const UnitSim &sim, uint8_t command);

// Hex text of a frame, for readable comparisons.
QByteArray hexOf(const QByteArray &bytes);
