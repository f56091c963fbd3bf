#pragma once

#include <QVector>
#include <array>

// What the log's filters found in one evaluated log: the SKW values of each
// channel over time, and the time stamps of the errors and of the
// configuration changes. The SKW history graph and the CSV export show it.
struct SkwHistory
{
    static constexpr int kChannels = 7;

    struct Point
    {
        int time = 0;  // seconds of the unit's running time
        int value = 0;
        bool operator==(const Point &o) const { return time == o.time && value == o.value; }
    };

    std::array<QVector<Point>, kChannels> channels;
    QVector<int> errors;
    QVector<int> configurations;

    // No row in any of the nine series.
    bool isEmpty() const;
    // The largest row count of the nine series.
    int longestSeries() const;
    bool operator==(const SkwHistory &o) const
    {
        return channels == o.channels && errors == o.errors && configurations == o.configurations;
    }
};
