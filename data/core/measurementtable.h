#pragma once

#include <QVector>
#include <array>
#include <cstdint>

// What the unit's measurement data turns into on the data page: which step
// of the processing chain is asked for, and the table of columns that the
// graph, the value bars and the CSV export read.
namespace MeasurementTable {

constexpr int kChannels = 7;
// Microseconds between two raw or processed samples.
constexpr int kSamplePeriodUs = 10;

enum Step : uint8_t {
    RawInput = 0,
    Processed = 1,
    MeanSegment = 2,
    MaxSegment = 3,
    MinSegment = 4,
    SkwStatistics = 5,
    Skw = 6,
    NoStep = 7,  // nothing shown
};

using Column = QVector<qint32>;
using Columns = QVector<Column>;

// The step as the unit knows it: the SKW value is picked from the SKW
// statistics, so both read step 5.
uint32_t requestedStep(Step step);
// Steps 0 and 1 have a time column in front of the channel columns.
bool hasTimeColumn(Step step);
// The SKW is one value per channel, shown on the value bars, not as curves.
bool showsBars(Step step);

// Where the SKW of a channel lies among its statistics values: the SKW
// select (high nibble of the selects byte) plus 3 x the segment statistic
// select (low nibble).
int skwPosition(uint8_t selects);

// The table of one acquisition. `values` holds what each channel received
// (empty for a channel not read), `selects` the selects byte of each
// channel's mapping entry (used for the SKW only). Steps 0 and 1: the time
// column 0, 10, 20, ... us as long as the longest channel, then one column
// per channel; other steps: one column per channel. For the SKW a channel's
// column holds its one value, or nothing when the position lies beyond what
// arrived.
Columns build(Step step, const std::array<QVector<int32_t>, kChannels> &values,
              const std::array<uint8_t, kChannels> &selects = {});

// The table column that shows channel n.
int channelColumn(Step step, int channel);

} // namespace MeasurementTable
