#pragma once

#include <QtGlobal>

// The colours of the seven channels. Every graph draws series n in colour
// colorAt(n), and widgets that mark a channel (the channel enable bar, the
// value bars) use the same table so that a channel keeps one colour
// everywhere. The values are 0xAARRGGBB, as QColor::fromRgba takes them.
namespace GraphPalette {

constexpr int kSize = 7;

// Entry `index` modulo the table size; negative indices wrap as well.
quint32 colorAt(int index);

} // namespace GraphPalette
