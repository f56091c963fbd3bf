#pragma once

#include <QStringList>

// Runs the simulated unit as a program: parses the options, starts the unit
// and runs the already constructed QCoreApplication's event loop.
//   --address A          the unit's IPv4 address (default 127.0.0.2; never 127.0.0.1)
//   --push-interval MS   own state reports every MS ms (default 1000, 0 = none)
//   --log FILE           append one line per request
//   --mac aa:bb:..       the unit's MAC address
//   --name TEXT          the device name
//   --restart-silence MS how long a restart keeps the unit silent (default 3000)
//   --no-broadcast       ignore broadcasts
//   --fieldbus TYPE      a fieldbus module of this network type (0x80 Modbus-TCP, 0x84 PROFINET RT,
//                        0x87 EtherCAT, ...) whose record holds the defaults of its kind
//   --drop N, --delay MS, --duplicate N, --wrong-sequence N, --wrong-command N,
//   --corrupt-crc N, --short N, --truncate N:BYTES, --silent
//   --error-status CMD[:PARAM]=STATUS   (numbers in C notation, e.g. 0xE1:0x2000=-16)
int runUnitSim(const QStringList &arguments);
