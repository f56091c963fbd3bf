#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "errorcode.h"

namespace loader {

// Seals an application image: a 20-byte trailer in the last 20 bytes of the
// application region carries a magic number, the region's start, the covered
// length, the CRC-32 of the covered bytes and the CRC-32 of the trailer.
class FirmwareSealer
{
public:
    static constexpr uint32_t kMagic = 0xA5C3E10Fu;
    static constexpr int kTrailerSize = 20;

    enum class Stage { Read, Write };

    // Reads the Intel HEX file into an image of the application region,
    // writes the trailer and writes the whole region back under the same
    // name. `failedAt` tells whether a failure happened reading or writing;
    // on a reading failure the file is left untouched. A file without any
    // data record is refused (-1003) as a reading failure.
    static errorCode_e sealHexFile(const QString &fileName, Stage *failedAt = nullptr);

    // Writes the trailer over the last 20 bytes of an image that starts at
    // `start`; the image must be at least 20 bytes long.
    static void writeTrailer(QByteArray &image, uint32_t start);
};

} // namespace loader
