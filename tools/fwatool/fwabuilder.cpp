#include "fwabuilder.h"

#include <QFile>
#include <QFileInfo>

#include "flashmap.h"
#include "intelhex.h"

using namespace loader;

FwaBuilder::FwaBuilder(int type, const QString &name) : m_type(type)
{
    FirmwareArchiveHeader header;
    header.name = name;
    m_archive.setHeaderInfo(header);
}

bool FwaBuilder::addBytes(const QByteArray &bytes, int kind, const QString &sectionName, QString *error)
{
    if (kind < FirmwareSection::InfoBlock || kind > FirmwareSection::PagedImage) {
        *error = QStringLiteral("unknown section kind %1").arg(kind);
        return false;
    }
    if (kind != FirmwareSection::PagedImage && bytes.size() > int(flash::kPageSize)) {
        *error = QStringLiteral("%1: a block holds at most 16384 bytes").arg(sectionName);
        return false;
    }
    m_archive.addSection(reinterpret_cast<const uint8_t *>(bytes.constData()), bytes.size(), uint8_t(kind),
                         sectionName);
    m_archive.addIndex(m_count++);
    return true;
}

bool FwaBuilder::addFile(const QString &fileName, int kind, QString *error)
{
    QByteArray bytes;
    if (fileName.endsWith(QLatin1String(".hex"), Qt::CaseInsensitive)) {
        uint32_t start = 0, end = 0;
        regionOf(m_type == flash::kTypeKeys ? flash::kRegionKeys : flash::kRegionApplication, &start, &end);
        bytes = QByteArray(int(end - start), char(0xFF));
        const errorCode_e read =
            IntelHex::read(start, reinterpret_cast<uint8_t *>(bytes.data()), uint32_t(bytes.size()), fileName);
        if (read != ERR_OK) {
            *error = QStringLiteral("%1: not a usable Intel HEX image (%2)").arg(fileName).arg(int(read));
            return false;
        }
    } else {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("%1: %2").arg(fileName, file.errorString());
            return false;
        }
        bytes = file.readAll();
    }
    return addBytes(bytes, kind, QFileInfo(fileName).fileName(), error);
}

errorCode_e FwaBuilder::save(const QString &fileName)
{
    FirmwareSectionGroup group;
    group.type = m_type;
    group.first = 0;
    group.count = m_count;
    loader::FirmwareArchive copy = m_archive;
    copy.addGroup(group);
    return copy.save(fileName);
}
