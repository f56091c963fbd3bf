// Firmware archives (".fwa"): the text through the archive reader, every
// section copied out, a write-and-read-back round trip, and flashing to a
// bootloader that accepts everything, which walks the groups, index list and
// sections as the loader does for the unit.
#include <QCoreApplication>
#include <QHostAddress>

#include "crc16.h"
#include "ethernethandler.h"
#include "firmwarearchive.h"
#include "firmwarehandler.h"
#include "fuzzinput.h"
#include "le.h"
#include "loadermetatypes.h"

using namespace loader;

namespace {

// Flashing runs only on small images: a large one costs time and walks the
// same code.
constexpr int kMaxFlashedImage = 0x10000;

bool sameHeader(const FirmwareArchiveHeader &a, const FirmwareArchiveHeader &b)
{
    return a.name == b.name && a.firstHeaderValue == b.firstHeaderValue && a.secondHeaderValue == b.secondHeaderValue
           && a.sections == b.sections && a.groups == b.groups && a.indexes == b.indexes;
}

// A bootloader that acknowledges every frame at once, so that flashing runs
// to its end without a network.
void acknowledgeEverything()
{
    EthernetHandler *h = EthernetHandler::instance();
    QObject::connect(
        h, &EthernetHandler::sendPacketSignal, h,
        [h](QByteArray frame, QHostAddress) {
            const FrameHeader header = FrameHeader::parse(reinterpret_cast<const uint8_t *>(frame.constData()));
            QByteArray ack(kFrameHeaderSize, '\0');
            le::put16(reinterpret_cast<uint8_t *>(ack.data()), header.sequence);
            ack[2] = char(FrameFlag::Ack);
            ack[3] = char(header.command);
            ack[6] = char(kFrameVersion);
            uint8_t crc[2];
            le::put16(crc, Crc16().calculate(reinterpret_cast<const uint8_t *>(ack.constData()), kFrameHeaderSize));
            ack.append(reinterpret_cast<const char *>(crc), 2);
            h->handleMessageSlot(ack, QHostAddress(QStringLiteral("198.18.0.2")));
        },
        Qt::DirectConnection);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initQt();
    registerMetaTypes();
    EthernetHandler::instance()->setTargetIP(QHostAddress(QStringLiteral("198.18.0.2")));
    acknowledgeEverything();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), int(size));
    FirmwareArchive archive;
    const errorCode_e loaded = archive.loadText(text);
    FirmwareArchiveHeader header;
    archive.copyHeader(header);
    if (loaded != ERR_OK) {
        FUZZ_CHECK(loaded == ERR_ARCHIVE_TRUNCATED);
        // A refused archive keeps nothing of the file.
        FUZZ_CHECK(header.sections.isEmpty() && header.groups.isEmpty() && header.indexes.isEmpty());
        return 0;
    }

    const QByteArray &image = archive.image();
    for (int i = 0; i < header.sections.size(); ++i) {
        const FirmwareSection &s = header.sections.at(i);
        FUZZ_CHECK(s.size >= 0 && s.offset >= 0);
        const bool inside = qint64(s.offset) + s.size <= image.size();
        QByteArray buffer(inside ? s.size : 16, '\0');
        const errorCode_e r =
            archive.extractSection(reinterpret_cast<uint8_t *>(buffer.data()), uint32_t(buffer.size()), i);
        FUZZ_CHECK((r == ERR_OK) == inside);
        if (inside)
            FUZZ_CHECK(buffer == image.mid(s.offset, s.size));
        else
            FUZZ_CHECK(r == ERR_SECTION_EXTENT);
    }
    uint8_t one = 0;
    FUZZ_CHECK(archive.extractSection(&one, 1, header.sections.size()) == ERR_SECTION_INDEX);
    FUZZ_CHECK(archive.extractSection(&one, 1, -1) == ERR_SECTION_INDEX);

    // What the writer makes of it reads back the same.
    FirmwareArchive reread;
    FUZZ_CHECK(reread.loadText(archive.toText()) == ERR_OK);
    FirmwareArchiveHeader again;
    reread.copyHeader(again);
    FUZZ_CHECK(sameHeader(header, again));
    FUZZ_CHECK(reread.image() == image);

    if (image.size() <= kMaxFlashedImage) {
        const QString path = fuzz::scratchFile(text, QStringLiteral("input.fwa"));
        FirmwareHandler flasher(EthernetHandler::instance());
        const errorCode_e firmware = flasher.writeFirmware(path);
        const errorCode_e keys = flasher.writeKeys(path);
        QCoreApplication::processEvents();
        FUZZ_CHECK(firmware <= 0 && keys <= 0);
    }
    return 0;
}
