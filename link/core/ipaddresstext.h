#pragma once

#include <QHostAddress>
#include <QString>

// Cleans dotted IPv4 text as an engineer types it: each of the first four
// parts above 255 becomes "255", leading zeros go ("000" gives "0") and an
// empty part becomes "0". Further parts are kept as they are. Used by both
// programs' address fields.
QString normalizeIpText(const QString &text);

// The address of strict dotted-quad text: exactly four decimal parts of one
// to three digits, each at most 255, nothing else (no blanks, no octal or
// hexadecimal forms, no shortened forms). Anything else gives a null
// address. QHostAddress alone reads "192.168.001.010" as 192.168.1.8.
QHostAddress parseDottedQuad(const QString &text);

// What a typed unit address means: four decimal parts, each at most 255,
// leading zeros allowed as padding, blanks around the text ignored; cleaned
// by normalizeIpText and read as a strict dotted quad. Null for anything
// else (a part out of range is refused, not cut to 255).
QHostAddress manualUnitAddress(const QString &text);

// A MAC address as the engineer reads it: the first six bytes as two-digit
// upper-case hexadecimal separated by ":" ("00:1A:2B:3C:4D:5E"); fewer when
// `size` is less than six.
QString macAddressText(const uint8_t *bytes, int size = 6);
QString macAddressText(const QByteArray &bytes);

// True for an address the tool cannot talk to a unit at: null, not IPv4, or
// 127.0.0.1 (which the link reads as "no unit").
bool isInvalidUnitAddress(const QHostAddress &address);
