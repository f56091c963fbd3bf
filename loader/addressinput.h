#pragma once

#include <QHostAddress>
#include <QString>
#include <cstdint>

// The address texts of the loader window: the adapter items, the target
// address as typed, and the strict reading of MAC and IPv4 fields before
// anything is sent to a unit.
namespace loader {
namespace addressinput {

// Splits at ".", keeping empty parts; of the first four parts a value above
// 255 becomes "255", leading zeros go, an empty part becomes "0".
QString normaliseAddressText(const QString &text);

// The interface name padded to 10 characters, then "| IP: " and the four
// bytes right-aligned in 3 characters each, most significant first.
QString adapterItemText(const QString &interfaceName, const QHostAddress &ip);

// Six colon-separated pairs of hex digits, not all zero. Leaves `mac`
// untouched and gives false for anything else.
bool parseMac(const QString &text, uint8_t mac[6]);

// Four dot-separated decimal parts of one to three digits, each at most 255,
// the first part into the first byte. Leaves `bytes` untouched and gives
// false for anything else.
bool parseIPv4(const QString &text, uint8_t bytes[4]);

} // namespace addressinput
} // namespace loader
