#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

#include "errorcode.h"

namespace loader {

// A piece of the archive's image with the way it is flashed.
struct FirmwareSection
{
    enum Kind : int { InfoBlock = 1, SingleBlock = 2, PagedImage = 3 };
    QString name;
    int index = 0;   // its position in the section list when it was added
    int kind = 0;
    int offset = 0;  // first byte in the image
    int size = 0;

    bool operator==(const FirmwareSection &o) const
    {
        return name == o.name && index == o.index && kind == o.kind && offset == o.offset && size == o.size;
    }
};

// The sections of one image type: `count` entries of the index list from
// position `first` on.
struct FirmwareSectionGroup
{
    int type = 0;   // 2 keys, 3 application firmware
    int first = 0;
    int count = 0;
    int size = 0;   // a filter value, carried unchanged
    QString label;  // two texts the loader carries without reading them
    QString comment;

    bool operator==(const FirmwareSectionGroup &o) const
    {
        return type == o.type && first == o.first && count == o.count && size == o.size && label == o.label
            && comment == o.comment;
    }
};

struct FirmwareArchiveHeader
{
    QString name;
    int firstHeaderValue = 0;
    int secondHeaderValue = 0;
    QList<FirmwareSection> sections;
    QList<FirmwareSectionGroup> groups;
    QList<int> indexes;
};

// A firmware archive (".fwa"): hex text of a container that holds a header
// (sections, index list, groups, in QDataStream form) and one image.
class FirmwareArchive
{
public:
    static const uint8_t kMagic[4];

    FirmwareArchive();

    // Reads a file. A file that cannot be opened gives -400; one whose data
    // ends early, or whose header is truncated or holds counts, sizes,
    // offsets or indexes that cannot be right, gives -401 and leaves the
    // lists as they were.
    errorCode_e load(const QString &fileName);
    // Parses archive text already in memory, as load does with a file's.
    errorCode_e loadText(const QByteArray &text);
    errorCode_e save(const QString &fileName);
    // The archive as the text that save writes.
    QByteArray toText();

    void copyHeader(FirmwareArchiveHeader &header) const;
    errorCode_e extractSection(uint8_t *destination, uint32_t bufferSize, int index) const;

    int addSection(const uint8_t *data, int length, uint8_t kind, const QString &name);
    void addGroup(const FirmwareSectionGroup &group);
    void addIndex(int index);
    void setHeaderInfo(const FirmwareArchiveHeader &header);
    void clear();

    const QByteArray &image() const { return m_image; }
    const QByteArray &headerBlock() const { return m_headerBlock; }

private:
    QByteArray serialiseHeader() const;

    QByteArray m_image;
    QByteArray m_headerBlock;
    QString m_name;
    int m_firstHeaderValue = 0;
    int m_secondHeaderValue = 0;
    QList<FirmwareSection> m_sections;
    QList<FirmwareSectionGroup> m_groups;
    QList<int> m_indexes;
};

} // namespace loader
