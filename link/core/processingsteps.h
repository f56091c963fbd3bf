#pragma once

#include <cstdint>

// The kind of measurement data requested from the unit and shown.
enum Processingsteps : uint32_t {
    StepRawInput = 0,
    StepProcessed = 1,
    StepMeanSegment = 2,
    StepMaxSegment = 3,
    StepMinSegment = 4,
    StepSkwStatistics = 5,
    StepSkw = 6,
    StepNone = 7,  // no measurement data on show
};

// The step number the unit is asked for: SKW is cut from the statistics.
constexpr uint32_t unitRequestStep(Processingsteps step)
{
    return step == StepSkw ? uint32_t(StepSkwStatistics) : uint32_t(step);
}
