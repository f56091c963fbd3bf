#pragma once

#include <QStringList>

#include "skwhistory.h"

class QTextStream;

// The CSV export of a log's SKW history: a header of 16 quoted cells
// (error and configuration time stamps, then time stamp and value per
// channel, named after the channels), then one line per row of the longest
// series; a series without that row leaves its cells empty.
class LogCsv
{
public:
    // `channelNames` holds the seven channels' full names.
    static void write(QTextStream &out, const SkwHistory &history, const QStringList &channelNames);
    static QByteArray toBytes(const SkwHistory &history, const QStringList &channelNames);
};
