#pragma once

#include <QString>
#include <QStringList>

// The bootloader mode of KorvantisUnitSim. Options (after --mode bootloader):
//   --address A            unit address (default 127.0.0.2); never 127.0.0.1
//   --log FILE             one line per request received
//   --mac XX:XX:XX:XX:XX:XX    the unit's MAC address
//   --state bootloader|firmware   what runs at start (default bootloader)
//   --reboot-ms N          silence after a reset (default 1000)
//   --catch-window-ms N    how long a fresh bootloader waits for a catch
//                          before it starts the firmware (default 5000)
//   --no-broadcast         do not listen for broadcasts
// Faults (CMD is a command byte such as 0x81, or "any"; may repeat):
//   --drop CMD[:COUNT]     lose the answers
//   --delay CMD:MS         answer late
//   --refuse-crc [COUNT]   refuse page and information block CRCs
//   --error CMD:STATUS     answer with an error status
//   --nak CMD              answer with a negative acknowledge
//   --silent               answer nothing
// --help (or -h) prints bootloaderSimHelp() and ends with 0.
// Runs the already-constructed QCoreApplication's event loop.
int runBootloaderSim(const QStringList &arguments);

// The bootloader mode's options, as --help lists them.
QString bootloaderSimHelp();
