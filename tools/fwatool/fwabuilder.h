#pragma once

#include <QString>

#include "errorcode.h"
#include "firmwarearchive.h"

// Collects images into one group of a firmware archive. A file whose name
// ends in ".hex" is read as Intel HEX into the whole flash region of the
// archive's image type (application or keys), erased bytes as 0xFF; any
// other file is taken byte for byte.
class FwaBuilder
{
public:
    explicit FwaBuilder(int type = 3, const QString &name = QString());

    // Adds a section of the kind (1 information block, 2 single block,
    // 3 paged image); false with a message when the file cannot be used.
    bool addFile(const QString &fileName, int kind, QString *error);
    bool addBytes(const QByteArray &bytes, int kind, const QString &sectionName, QString *error);

    loader::errorCode_e save(const QString &fileName);
    loader::FirmwareArchive &archive() { return m_archive; }

private:
    int m_type;
    int m_count = 0;
    loader::FirmwareArchive m_archive;
};
