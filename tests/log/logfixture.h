#pragma once

#include <QByteArray>
#include <QStringList>
#include <QVector>
#include <cstdint>

#include "logrecords.h"

class LogEntryBase;

// Builds one 32-byte log record field by field (little-endian at byte
// offsets from the record start), the rest zero.
class RecordBuilder
{
public:
    RecordBuilder(uint32_t time, uint32_t id);
    RecordBuilder &u8(int offset, uint8_t v);
    RecordBuilder &u16(int offset, uint16_t v);
    RecordBuilder &u32(int offset, uint32_t v);
    RecordBuilder &u64(int offset, uint64_t v);
    RecordBuilder &fill(uint8_t v);  // every payload byte
    LogRecord record() const { return m_record; }
    operator LogRecord() const { return m_record; }

private:
    LogRecord m_record;
};

// The rows below a node as "name|value|kind" with kind i (int), u (unsigned
// int) or s (text), one per child in order.
QStringList detailLines(const LogEntryBase &node);

// The text export of the tree below `root`.
QString treeText(const LogEntryBase &root);

// The binary form of the tree below `root` (size field, then records).
QByteArray serialized(const LogEntryBase &root);

// The records of a binary form made by serialized(); empty when it is not one.
QVector<LogRecord> recordsOf(const QByteArray &serialized);
