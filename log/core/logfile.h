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

    // The longest record section that a file cut inside its records may
    // claim: 128 MiB, over four million records. A longer claim is taken
    // for a damaged length, not for a cut file.
    static constexpr qint32 kMaxRecordBytes = 0x08000000;

    // Reads a LOG file. Every length is checked against the bytes that
    // remain; a damaged file, or one cut before its records, gives false
    // with the reason in `error` and leaves `records` and `info` as they
    // were. A length of 0xFFFFFFFF (a null text) reads as an empty text; a
    // null record section is an empty log when nothing follows it and
    // damage when bytes do. A record section longer than kMaxRecordBytes is
    // damage. Whatever of a readable file is not read is said in `warning`
    // (empty otherwise): a section cut short (the whole records before the
    // cut are read), a section that ends in a cut record, bytes after the
    // section.
    static bool read(const QByteArray &bytes, QVector<LogRecord> *records, VersionInfo *info, QString *error,
                     QString *warning = nullptr);
};
