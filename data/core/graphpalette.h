#pragma once

#include <QColor>

// The colours of the seven channels. Every graph draws series n in colour
// colorAt(n), and widgets that mark a channel (the channel enable bar, the
// value bars) use the same table so that a channel keeps one colour
// everywhere.
namespace GraphPalette {

constexpr int kSize = 7;

// Entry `index` modulo the table size; negative indices wrap as well.
QColor colorAt(int index);

} // namespace GraphPalette
