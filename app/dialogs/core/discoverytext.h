#pragma once

#include <QHostAddress>
#include <QString>
#include <cstdint>

#include "devicerecords.h"

// How the connect dialog shows and builds unit records.

// A result code as a signed lower-case hexadecimal number right-aligned in
// 8 characters with blanks (-1001 gives "    -3e9").
QString hexCode(int32_t code);

// The MAC address of an answer as upper-case hexadecimal pairs joined by
// "-" (00-1A-2B-3C-4D-5E).
QString macDashText(const DiscoveredDevice &device);

// The unit name carried by a name record, up to its first NUL: a name record
// may count a terminating zero byte in its length, and that byte must reach
// neither the unit, a file nor the screen.
QString unitNameText(const DiscoveredDevice &device);

// The record stored for a unit whose address was typed in by hand: the
// address, the net mask of the chosen interface (0.0.0.0 when there is
// none), the name "Korvantis" with its terminating zero byte counted (length
// 10) and the MAC address 00-00-00-00-00-00.
DiscoveredDevice manualDeviceRecord(const QHostAddress &address, const QHostAddress &netmask);
