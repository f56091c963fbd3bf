#include "measurementtable.h"

#include <algorithm>

namespace MeasurementTable {

uint32_t requestedStep(Step step)
{
    return step == Skw ? uint32_t(SkwStatistics) : uint32_t(step);
}

bool hasTimeColumn(Step step)
{
    return step == RawInput || step == Processed;
}

bool showsBars(Step step)
{
    return step > MinSegment && step < NoStep;
}

int skwPosition(uint8_t selects)
{
    return (selects >> 4) + 3 * (selects & 0x0F);
}

int channelColumn(Step step, int channel)
{
    return hasTimeColumn(step) ? channel + 1 : channel;
}

Columns build(Step step, const std::array<QVector<int32_t>, kChannels> &values,
              const std::array<uint8_t, kChannels> &selects)
{
    Columns columns;
    int longest = 0;
    for (int ch = 0; ch < kChannels; ++ch) {
        const QVector<int32_t> &v = values[size_t(ch)];
        if (step == Skw) {
            const int at = skwPosition(selects[size_t(ch)]);
            columns.append(at < v.size() ? Column{v.at(at)} : Column());
        } else {
            columns.append(v);
        }
        longest = std::max(longest, int(columns.constLast().size()));
    }
    if (hasTimeColumn(step)) {
        Column time(longest);
        for (int i = 0; i < longest; ++i)
            time[i] = i * kSamplePeriodUs;
        columns.prepend(time);
    }
    return columns;
}

} // namespace MeasurementTable
