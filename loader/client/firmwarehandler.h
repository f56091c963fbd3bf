#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>

#include "errorcode.h"

namespace loader {

class EthernetHandler;

// Writes the sections of a firmware archive into the unit's flash through
// the bootloader commands; the caller has caught the bootloader first. Made
// on the caller's stack for one operation.
class FirmwareHandler : public QObject
{
    Q_OBJECT
public:
    explicit FirmwareHandler(EthernetHandler *handler, QObject *parent = nullptr);

    errorCode_e writeFirmware(const QString &fileName);
    errorCode_e writeKeys(const QString &fileName);

    // The flashing steps, callable on their own (the archive's sections
    // come through them).
    errorCode_e writePagedImage(const QByteArray &data, uint8_t type, uint32_t start);
    errorCode_e writeSingleBlock(const QByteArray &data);
    errorCode_e writeInformationBlock(const QByteArray &data);

signals:
    void showProgress(QString message, uint8_t progress, bool visible);

private:
    errorCode_e flashFile(const QString &fileName, uint8_t type, uint32_t start);
    errorCode_e flashSections(const QString &fileName, uint8_t type, uint32_t start);
    errorCode_e sendPageChunks(const uint8_t *page, uint32_t totalSize, uint16_t pageNumber);
    errorCode_e sendBlock(const QByteArray &data, uint32_t *crc);

    EthernetHandler *m_handler;
};

} // namespace loader
