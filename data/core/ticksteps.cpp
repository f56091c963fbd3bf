#include "ticksteps.h"

#include <algorithm>
#include <cmath>

namespace TickSteps {

namespace {
constexpr int kMaxTicks = 10;
constexpr int kMaxPositions = 10000;
}

int maxTickCount(int plotWidth, int sampleWidth)
{
    const int count = plotWidth / std::max(1, sampleWidth);
    return std::clamp(count, 1, kMaxTicks);
}

double step(double span, int maxTicks)
{
    if (!std::isfinite(span) || span <= 0.0)
        return 0.0;
    const double ticks = std::max(1, maxTicks);
    int e = int(std::floor(std::log10(span / 1000000.0)));
    // With at least one tick the loop ends within a few decades of e.
    for (;; ++e) {
        const double decade = std::pow(10.0, e);
        for (int m : {1, 2, 5}) {
            const double s = m * decade;
            if (ticks * s >= span)
                return s;
        }
    }
}

QVector<double> positions(double minimum, double maximum, double step)
{
    QVector<double> out;
    if (!(step > 0.0) || !std::isfinite(minimum) || !std::isfinite(maximum) || maximum < minimum)
        return out;
    // Indices rather than repeated addition, so a long axis does not drift;
    // the small tolerance keeps 0.1 * 3 from missing a maximum of 0.3.
    const double first = std::ceil(minimum / step - 1e-9);
    const double last = std::floor(maximum / step + 1e-9);
    if (last - first + 1 > kMaxPositions)
        return out;
    for (double i = first; i <= last; i += 1.0)
        out.append(i * step == 0.0 ? 0.0 : i * step);
    return out;
}

} // namespace TickSteps
