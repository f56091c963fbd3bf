#include "firmwarehandler.h"

#include <QDebug>
#include <algorithm>

#include "checksums.h"
#include "ethernethandler.h"
#include "firmwarearchive.h"
#include "flashmap.h"
#include "loaderlog.h"

namespace loader {

namespace {

constexpr uint32_t kChunk = uint32_t(EthernetHandler::kMaxChunk);

uint8_t percent(uint64_t part, uint64_t whole)
{
    return whole ? uint8_t(uint32_t(part * 100u / whole)) : 0;
}

} // namespace

FirmwareHandler::FirmwareHandler(EthernetHandler *handler, QObject *parent) : QObject(parent), m_handler(handler) {}

errorCode_e FirmwareHandler::writeFirmware(const QString &fileName)
{
    return flashFile(fileName, flash::kTypeApplication, flash::kApplicationStart);
}

errorCode_e FirmwareHandler::writeKeys(const QString &fileName)
{
    return flashFile(fileName, flash::kTypeKeys, flash::kKeyStart);
}

errorCode_e FirmwareHandler::flashFile(const QString &fileName, uint8_t type, uint32_t start)
{
    if (!m_handler || !m_handler->hasTarget())
        return ERR_NO_TARGET;
    return flashSections(fileName, type, start);
}

errorCode_e FirmwareHandler::flashSections(const QString &fileName, uint8_t type, uint32_t start)
{
    FirmwareArchive archive;
    // A file that cannot be read or is corrupt is refused with the archive's
    // own code before anything reaches the unit.
    const errorCode_e loaded = archive.load(fileName);
    if (loaded != ERR_OK)
        return loaded;
    FirmwareArchiveHeader header;
    archive.copyHeader(header);

    const FirmwareSectionGroup *group = nullptr;
    for (const FirmwareSectionGroup &g : header.groups)
        if (g.type == type)
            group = &g;  // the last group of the type wins
    if (!group)
        return ERR_BAD_CONTENT;

    errorCode_e result = ERR_OK;
    if (group->first < 0 || group->count < 0 || qint64(group->first) + group->count > header.indexes.size()) {
        result = ERR_BAD_CONTENT;
    } else {
        for (int i = 0; i < group->count && result == ERR_OK; ++i) {
            const int index = header.indexes.at(group->first + i);
            if (index < 0 || index >= header.sections.size()) {
                result = ERR_SECTION_INDEX;
                break;
            }
            const FirmwareSection &section = header.sections.at(index);
            // The size comes from the file: a section that cannot lie inside
            // the image is refused before a buffer of its size is made.
            if (section.size < 0 || qint64(section.offset) + qint64(section.size) > qint64(archive.image().size())) {
                result = ERR_SECTION_EXTENT;
                break;
            }
            QByteArray buffer(section.size, '\0');
            result = archive.extractSection(reinterpret_cast<uint8_t *>(buffer.data()), uint32_t(buffer.size()), index);
            if (result != ERR_OK)
                break;
            emit showProgress(QStringLiteral("Preparing..."), percent(uint64_t(i), uint64_t(group->count)),
                              true);
            switch (section.kind) {
            case FirmwareSection::SingleBlock:
                result = writeSingleBlock(buffer);
                break;
            case FirmwareSection::PagedImage:
                result = writePagedImage(buffer, type, start);
                break;
            case FirmwareSection::InfoBlock:
                result = writeInformationBlock(buffer);
                break;
            default:
                result = ERR_BAD_CONTENT;
                break;
            }
        }
    }
    emit showProgress(QString(), 0, false);
    return result;
}

errorCode_e FirmwareHandler::writePagedImage(const QByteArray &data, uint8_t type, uint32_t start)
{
    const uint32_t size = uint32_t(data.size());
    if (size == 0) {
        emit showProgress(QStringLiteral("Flashing"), 0, false);
        return ERR_OK;
    }
    // A last partial page is filled up with 0xFF (erased flash) to a whole
    // page, so its CRC and chunks never read past the section.
    const uint32_t padded = (size + flash::kPageSize - 1) / flash::kPageSize * flash::kPageSize;
    if (type < 6) {
        const uint64_t last = uint64_t(start) + padded - 1;
        if (start < flash::kStart || start >= flash::kEnd || last >= flash::kEnd)
            return ERR_BAD_CONTENT;
    }
    QByteArray image = data;
    image.append(QByteArray(int(padded - size), char(0xFF)));
    const auto *bytes = reinterpret_cast<const uint8_t *>(image.constData());

    errorCode_e result = ERR_OK;
    uint8_t progress = 0;
    for (uint16_t page = 0; uint32_t(page) * flash::kPageSize < padded; ++page) {
        const uint8_t *pageData = bytes + uint32_t(page) * flash::kPageSize;
        // The CRC is ready before the offset goes out.
        const uint32_t crc = crc32SwappedWords(pageData, flash::kPageSize);
        if (m_handler->wrtOffsetDataLen(start + uint32_t(page) * flash::kPageSize, uint16_t(flash::kPageSize)) != ERR_OK) {
            result = ERR_OFFSET_LEN_REFUSED;
            break;
        }
        if (sendPageChunks(pageData, padded, page) != ERR_OK) {
            result = ERR_CHUNK_REFUSED;
            break;
        }
        progress = percent(uint64_t(page + 1) * flash::kPageSize, padded);
        emit showProgress(QStringLiteral("Flashing"), progress, true);
        result = m_handler->writePage(crc);
        if (result != ERR_OK)
            break;
    }
    emit showProgress(QStringLiteral("Flashing"), progress, false);
    return result;
}

errorCode_e FirmwareHandler::sendPageChunks(const uint8_t *page, uint32_t totalSize, uint16_t pageNumber)
{
    const uint32_t base = uint32_t(pageNumber) * flash::kPageSize;
    const uint32_t amount = std::min(totalSize - base, flash::kPageSize);
    uint8_t chunkNumber = 1;
    for (uint32_t sent = 0; sent < amount; ++chunkNumber) {
        emit showProgress(QStringLiteral("transferring data"), percent(uint64_t(base) + sent, totalSize), true);
        const uint32_t n = std::min(kChunk, amount - sent);
        const errorCode_e result = m_handler->writeChunk(chunkNumber, page + sent, n);
        if (result != ERR_OK)
            return result;
        sent += n;
    }
    return ERR_OK;
}

errorCode_e FirmwareHandler::sendBlock(const QByteArray &data, uint32_t *crc)
{
    const uint32_t size = uint32_t(data.size());
    if (size > flash::kPageSize)
        return ERR_TOO_MUCH_DATA;
    if (m_handler->wrtOffsetDataLen(0, uint16_t(size)) != ERR_OK)
        return ERR_OFFSET_LEN_REFUSED;
    const auto *bytes = reinterpret_cast<const uint8_t *>(data.constData());
    uint8_t chunkNumber = 1;
    for (uint32_t sent = 0; sent < size; ++chunkNumber) {
        const uint32_t n = std::min(kChunk, size - sent);
        const errorCode_e result = m_handler->writeChunk(chunkNumber, bytes + sent, n);
        if (result != ERR_OK)
            return result;
        sent += n;
    }
    // A size that is not a multiple of 4 is padded with 0xFF for the CRC.
    *crc = crc32SwappedWords(bytes, size);
    return ERR_OK;
}

errorCode_e FirmwareHandler::writeSingleBlock(const QByteArray &data)
{
    uint32_t crc = 0;
    const errorCode_e result = sendBlock(data, &crc);
    if (result != ERR_OK)
        return result;
    return m_handler->writePage(crc);
}

errorCode_e FirmwareHandler::writeInformationBlock(const QByteArray &data)
{
    uint32_t crc = 0;
    const errorCode_e result = sendBlock(data, &crc);
    if (result != ERR_OK)
        return result;
    qCDebug(lcLoader).noquote() << " InfoBlock CRC: 0x" + QString::number(crc, 16);
    return m_handler->writeInfoBlock(crc);
}

} // namespace loader
