#pragma once

#include <QHostAddress>
#include <QString>

// Network tests run only inside the private network namespace that
// scripts/test.sh makes (lo up, veth pair 198.18.0.1 <-> 198.18.0.2..).
// Outside it they skip, so that no datagram ever leaves this machine.
//
// Loopback addresses per test folder, so that test programs that ctest runs
// in parallel never share a unit address (port 7755 is fixed):
//   tests/link   127.0.1.x     tests/loader 127.0.2.x
//   tests/app    127.0.3.x     tests/tools  127.0.4.x
//   tests/data   127.0.9.x     tests/config 127.0.10.x
// Each test file takes its own x. Tests on the veth pair (198.18.0.x) are
// named tst_*_veth.cpp and are serialised by ctest.
namespace testnet {

// True when the test namespace is up.
bool available();

// The message a network test skips with outside the namespace.
QString skipReason();

// The tool's side of the veth pair and the n-th simulated unit (n >= 0).
QHostAddress toolVethAddress();             // 198.18.0.1
QHostAddress unitVethAddress(int n);        // 198.18.0.2 + n

// Directory of the built programs (KorvantisLoader, KorvantisUnitSim, ...).
QString binDir();
QString sourceDir();

} // namespace testnet

// Skips the current test function when the namespace is not there.
#define KORVANTIS_REQUIRE_TESTNET()                                   \
    do {                                                              \
        if (!testnet::available())                                    \
            QSKIP(qPrintable(testnet::skipReason()));                 \
    } while (0)
