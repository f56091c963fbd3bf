#pragma once

#include <QSet>

// The event IDs the log's three filters pick out of the entry tree.
namespace LogFilterIds {

// Lubrication events of a measurement run and of a reference run: they carry
// the SKW value of every channel.
QSet<int> lubrication();
// Threshold, parameter set, device settings, reference SKW and current
// changes (0x040105nn, 0x04010Ann, 0x04010Bnn, 0x04010Cnn, 0x04010Dnn).
QSet<int> configuration();
// The unit's errors: 0x040301nn to 0x040304nn and 0x040307nn to 0x04030Dnn;
// start-up (0x040305nn) and error reset (0x040306nn) are not errors.
QSet<int> errors();

} // namespace LogFilterIds
