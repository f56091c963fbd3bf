#pragma once

#include <QString>
#include <cstdint>

#include "errorcode.h"

namespace loader {

// Intel HEX reading and writing for application images: data (00), end of
// file (01) and extended linear address (04) records.
class IntelHex
{
public:
    // Longest record: count, two address bytes, type, 255 data bytes, checksum.
    static constexpr int kMaxRecordBytes = 260;
    static constexpr int kMaxDataBytes = 255;

    // Decodes one line whose blanks are already removed into `out` (at least
    // kMaxRecordBytes long) and gives the number of bytes before the checksum
    // (0 when the line is no record or is refused; *result tells which).
    static int parseRecord(uint8_t *out, const QString &line, errorCode_e *result, bool skipChecksum);

    // Fills the image (erased to 0xFF first) from a file. `dataRecords`, when
    // given, receives the number of data records taken.
    static errorCode_e readFile(uint32_t start, uint8_t *image, uint32_t size, const QString &fileName,
                                bool skipChecksum, int *dataRecords = nullptr);
    static errorCode_e read(uint32_t start, uint8_t *image, uint32_t size, const QString &fileName,
                            int *dataRecords = nullptr);

    // Writes the image as a file in 16-byte data records. The file is
    // replaced only once the new one is complete.
    static errorCode_e writeFile(uint32_t start, const uint8_t *image, uint32_t size, const QString &fileName);
    // The same text in memory.
    static QByteArray toText(uint32_t start, const uint8_t *image, uint32_t size);
};

} // namespace loader
