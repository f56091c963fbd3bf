// Intel HEX images as they come to sealing: single record lines through the
// record decoder, the whole file into the application region, the trailer
// written over it, and a written-and-read-back round trip of the image.
#include <QList>

#include "flashmap.h"
#include "firmwaresealer.h"
#include "fuzzinput.h"
#include "intelhex.h"
#include "le.h"

using namespace loader;

namespace {

bool knownReadResult(errorCode_e r)
{
    switch (r) {
    case ERR_OK:
    case ERR_HEX_CHECKSUM:
    case ERR_HEX_NOT_HEX:
    case ERR_TOO_MUCH_DATA:
    case ERR_BAD_CONTENT:
    case ERR_HEX_BEYOND_IMAGE:
        return true;
    default:
        return false;
    }
}

// The image starts where the application region starts but is kept short:
// reading and sealing do the same for any size, and a whole region would
// cost the fuzzer most of its time in CRC and memory fills.
constexpr uint32_t kImageSize = 0x400;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), int(size));

    // Every line on its own, with and without the checksum test.
    for (const QByteArray &raw : text.split('\n')) {
        QString line = QString::fromLatin1(raw).simplified();
        line.remove(QLatin1Char(' '));
        uint8_t record[IntelHex::kMaxRecordBytes];
        for (bool skip : {false, true}) {
            errorCode_e r = ERR_OK;
            const int n = IntelHex::parseRecord(record, line, &r, skip);
            FUZZ_CHECK(n >= 0 && n < IntelHex::kMaxRecordBytes);
            FUZZ_CHECK(r == ERR_OK || n == 0);
            FUZZ_CHECK(knownReadResult(r));
        }
    }

    uint32_t start = 0;
    regionOf(flash::kRegionApplication, &start, nullptr);
    QByteArray image(int(kImageSize), '\0');
    int records = 0;
    const QString path = fuzz::scratchFile(text, QStringLiteral("input.hex"));
    const errorCode_e r =
        IntelHex::read(start, reinterpret_cast<uint8_t *>(image.data()), uint32_t(image.size()), path, &records);
    FUZZ_CHECK(knownReadResult(r));
    if (r != ERR_OK)
        return 0;

    FirmwareSealer::writeTrailer(image, start);
    const auto *trailer = reinterpret_cast<const uint8_t *>(image.constData()) + image.size() - FirmwareSealer::kTrailerSize;
    FUZZ_CHECK(le::u32(trailer) == FirmwareSealer::kMagic);
    FUZZ_CHECK(le::u32(trailer + 4) == start);
    FUZZ_CHECK(le::u32(trailer + 8) == uint32_t(image.size() - FirmwareSealer::kTrailerSize));

    // The sealed image, written as Intel HEX and read again, is the same.
    const QByteArray written = IntelHex::toText(start, reinterpret_cast<const uint8_t *>(image.constData()), kImageSize);
    QByteArray back(int(kImageSize), '\0');
    int backRecords = 0;
    FUZZ_CHECK(IntelHex::read(start, reinterpret_cast<uint8_t *>(back.data()), kImageSize,
                              fuzz::scratchFile(written, QStringLiteral("sealed.hex")), &backRecords)
               == ERR_OK);
    FUZZ_CHECK(back == image);
    FUZZ_CHECK(backRecords == int(kImageSize / 16));
    return 0;
}
