#pragma once

#include <QByteArray>
#include <QVector>

#include "logrecords.h"

// The unit's event log as the block transfer joins it: the whole 32-byte
// records in the unit's order, and how many bytes of a record cut off at
// the end were left out. A cut last record costs only itself; the records
// before it are as good as in a whole log.
struct DeviceLog
{
    QVector<LogRecord> records;
    int droppedBytes = 0;

    bool endsInCutRecord() const { return droppedBytes > 0; }
    static DeviceLog split(const QByteArray &bytes);
};
