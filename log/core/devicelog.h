#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include "logrecords.h"

// The unit's event log as the block transfer joins it (or as a raw dump of
// it comes by mail): the whole 32-byte records in the unit's order, and how
// many bytes of a record cut off at the end were left out. A cut last record
// costs only itself; the records before it are as good as in a whole log.
// The log page and the logexport tool both read raw logs through here, so
// both show the same records and say the same words about a cut.
struct DeviceLog
{
    QVector<LogRecord> records;
    int droppedBytes = 0;

    bool endsInCutRecord() const { return droppedBytes > 0; }
    // What the user is told about the bytes left out (translated, context
    // "DeviceLog"); empty for a whole log.
    QString note() const;
    static DeviceLog split(const QByteArray &bytes);
};
