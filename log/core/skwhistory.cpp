#include "skwhistory.h"

#include <algorithm>

bool SkwHistory::isEmpty() const
{
    return longestSeries() == 0;
}

int SkwHistory::longestSeries() const
{
    int longest = std::max(errors.size(), configurations.size());
    for (const auto &c : channels)
        longest = std::max(longest, c.size());
    return longest;
}
