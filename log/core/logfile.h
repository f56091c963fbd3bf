#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include "logrecords.h"
#include "versioninfo.h"

class LogEntryBase;
class QDataStream;

// The binary LOG file (suffix "hex"): big-endian QDataStream items, in
// order: the unit's 11-byte identification (length-prefixed), the Qt
// version, the tool version and the four host texts (byte arrays), then the
// entry tree's binary form: the byte count of the records and the raw
// 32-byte records as the unit sent them.
class LogFile
{
public:
    static constexpr int kIdentificationSize = ProductInfoRecord::kSize;

    static void write(QDataStream &out, const VersionInfo &info, const LogEntryBase &root);
    static QByteArray toBytes(const VersionInfo &info, const LogEntryBase &root);

    // Reads a whole LOG file. Every length is checked against the bytes that
    // remain; a damaged or cut file gives false with the reason in `error`
    // and leaves `records` and `info` as they were. A length of 0xFFFFFFFF
    // (a null text) reads as an empty text. A record section whose length is
    // no multiple of 32 gives the whole records it holds.
    static bool read(const QByteArray &bytes, QVector<LogRecord> *records, VersionInfo *info, QString *error);
};
