#pragma once

#include <QHostAddress>
#include <QString>
#include <array>
#include <cstdint>

// Reading what the engineer typed into the network fields of the
// configuration pages. Pure: no widgets, no unit.

// The six bytes of a MAC address typed as hexadecimal parts separated by
// ":" (empty parts skipped). False, with `mac` untouched, unless there are
// exactly six parts of one or two hexadecimal digits each.
bool parseMacText(const QString &text, std::array<uint8_t, 6> &mac);

// The IPv4 address of dotted text as the network fields hold it (padded
// parts such as "010"): cleaned by normalizeIpText, parts above 255 cut to
// 255. Null when the cleaned text is no dotted quad.
QHostAddress typedIpv4(const QString &text);

// Why a unit could not use this address and net mask, or an empty text
// when it can. A unit set to 0.0.0.0 or to an empty mask (0.0.0.0) can no
// longer be reached, so both are refused.
QString networkSettingsProblem(const QHostAddress &address, const QHostAddress &mask);
