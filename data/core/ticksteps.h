#pragma once

#include <QVector>

// Tick steps of a graph axis: 1, 2 or 5 times a power of ten, the smallest
// that covers the span with the ticks that fit.
namespace TickSteps {

// How many labels of `sampleWidth` pixels fit side by side on `plotWidth`
// pixels: at most 10, and at least 1 even on a plot narrower than one label.
int maxTickCount(int plotWidth, int sampleWidth);

// The smallest step m * 10^e (m = 1, 2, 5; e from log10(span / 1e6)) with
// maxTicks * step >= span. 0 for a span that is 0, negative or not finite:
// such an axis has no ticks.
double step(double span, int maxTicks);

// The tick values from ceil(minimum / step) * step up to the maximum; none
// for a step of 0 or less. Bounded, so a step far too small for its range
// cannot produce millions of ticks.
QVector<double> positions(double minimum, double maximum, double step);

} // namespace TickSteps
