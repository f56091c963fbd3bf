#include "firmwaresealer.h"

#include "checksums.h"
#include "flashmap.h"
#include "intelhex.h"
#include "byteorder.h"

#include <cstring>

namespace loader {

void FirmwareSealer::writeTrailer(QByteArray &image, uint32_t start)
{
    const uint32_t size = uint32_t(image.size());
    const uint32_t covered = size - kTrailerSize;
    auto *bytes = reinterpret_cast<uint8_t *>(image.data());

    // Covered bytes are a whole number of groups for the application region;
    // any tail is taken through the erased-flash padding of the CRC routine.
    QByteArray scratch(int(covered), '\0');
    auto *reversed = reinterpret_cast<uint8_t *>(scratch.data());
    copyWordsByteReversed(reversed, bytes, covered / 4);
    uint32_t imageCrc = crc32Table(0, reversed, covered / 4 * 4);
    if (covered % 4)
        imageCrc = crc32SwappedWords(bytes, covered);

    uint8_t trailer[kTrailerSize];
    le::put32(trailer, kMagic);
    le::put32(trailer + 4, start);
    le::put32(trailer + 8, covered);
    le::put32(trailer + 12, imageCrc);
    uint8_t trailerReversed[16];
    copyWordsByteReversed(trailerReversed, trailer, 4);
    le::put32(trailer + 16, crc32Table(0, trailerReversed, 16));
    std::memcpy(bytes + covered, trailer, kTrailerSize);
}

errorCode_e FirmwareSealer::sealHexFile(const QString &fileName, Stage *failedAt)
{
    if (failedAt)
        *failedAt = Stage::Read;
    if (fileName.isEmpty())
        return ERR_BAD_CONTENT;
    uint32_t start = 0;
    uint32_t end = 0;
    regionOf(flash::kRegionApplication, &start, &end);
    QByteArray image(int(end - start), char(0xFF));
    int dataRecords = 0;
    const errorCode_e read =
        IntelHex::read(start, reinterpret_cast<uint8_t *>(image.data()), uint32_t(image.size()), fileName, &dataRecords);
    if (read != ERR_OK)
        return read;
    // Anything without a single data record is no image (a text file, an
    // empty file): sealing it would replace it with an erased region.
    if (dataRecords == 0)
        return ERR_BAD_CONTENT;
    writeTrailer(image, start);
    if (failedAt)
        *failedAt = Stage::Write;
    return IntelHex::writeFile(start, reinterpret_cast<const uint8_t *>(image.constData()), uint32_t(image.size()),
                               fileName);
}

} // namespace loader
