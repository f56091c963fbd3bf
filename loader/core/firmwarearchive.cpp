#include "firmwarearchive.h"

#include <QDataStream>
#include <QDebug>
#include <QFile>
#include <QSaveFile>
#include <cstring>

#include "byteorder.h"
#include "loaderlog.h"

namespace loader {

namespace {

// Reads the header block the way QDataStream wrote it (big-endian), checking
// every field against the bytes that remain, so a corrupt block can neither
// run past its end nor make the reader allocate what the data cannot hold.
class HeaderReader
{
public:
    explicit HeaderReader(const QByteArray &data) : m_data(data) {}

    bool ok() const { return m_ok; }
    qint64 remaining() const { return m_data.size() - m_pos; }

    uint32_t u32()
    {
        if (!m_ok || remaining() < 4) {
            m_ok = false;
            return 0;
        }
        const auto *p = reinterpret_cast<const uint8_t *>(m_data.constData()) + m_pos;
        m_pos += 4;
        return be::u32(p);
    }
    int i32() { return int(int32_t(u32())); }

    QString string()
    {
        const uint32_t bytes = u32();
        if (!m_ok || bytes == 0xFFFFFFFFu)
            return QString();
        if ((bytes & 1u) || bytes > uint64_t(remaining())) {
            m_ok = false;
            return QString();
        }
        const auto *p = reinterpret_cast<const uint8_t *>(m_data.constData()) + m_pos;
        QString s(int(bytes / 2), Qt::Uninitialized);
        for (uint32_t i = 0; i < bytes / 2; ++i)
            s[int(i)] = QChar(be::u16(p + 2 * i));
        m_pos += bytes;
        return s;
    }

    // A list count that the remaining bytes can hold at `minElement` bytes
    // per element; anything more is corrupt.
    int count(int minElement)
    {
        const uint32_t n = u32();
        if (!m_ok || uint64_t(n) * uint64_t(minElement) > uint64_t(remaining())) {
            m_ok = false;
            return 0;
        }
        return int(n);
    }

    void fail() { m_ok = false; }

private:
    const QByteArray &m_data;
    qint64 m_pos = 0;
    bool m_ok = true;
};

uint32_t be32(const QByteArray &data, qint64 at)
{
    return be::u32(reinterpret_cast<const uint8_t *>(data.constData()) + at);
}

void appendLength(QByteArray &out, uint32_t length)
{
    uint8_t b[5] = {0, 0, 0, 0, 0};
    be::put32(b, length);
    out.append(reinterpret_cast<const char *>(b), 5);
}

} // namespace

const uint8_t FirmwareArchive::kMagic[4] = {0xFE, 0xED, 0xC0, 0xDE};

FirmwareArchive::FirmwareArchive() = default;

errorCode_e FirmwareArchive::load(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qCDebug(lcLoader) << "Failed to open file" << fileName;
        return ERR_FILE_OPEN;
    }
    return loadText(file.readAll());
}

errorCode_e FirmwareArchive::loadText(const QByteArray &text)
{
    QByteArray hex = text;
    const int zero = hex.indexOf('\0');
    if (zero >= 0)
        hex.truncate(zero);
    hex.replace('\n', ' ');
    const QByteArray data = QByteArray::fromHex(hex);

    m_headerBlock.clear();
    m_image.clear();

    const qint64 size = data.size();
    if (size < 9)
        return ERR_ARCHIVE_TRUNCATED;
    const qint64 l1 = be32(data, 4);
    if (9 + l1 > size)
        return ERR_ARCHIVE_TRUNCATED;
    const QByteArray header = data.mid(9, int(l1));
    if (14 + l1 > size)
        return ERR_ARCHIVE_TRUNCATED;
    const qint64 l2 = be32(data, 9 + l1);
    if (14 + l1 + l2 > size)
        return ERR_ARCHIVE_TRUNCATED;

    // Parse into temporaries: a corrupt header leaves the lists as they were.
    HeaderReader in(header);
    FirmwareArchiveHeader h;
    h.name = in.string();
    h.secondHeaderValue = in.i32();
    h.firstHeaderValue = in.i32();
    const int sectionCount = in.count(20);
    for (int i = 0; i < sectionCount && in.ok(); ++i) {
        FirmwareSection s;
        s.index = in.i32();
        s.kind = in.i32();
        s.size = in.i32();
        s.offset = in.i32();
        s.name = in.string();
        if (s.size < 0 || s.offset < 0)
            in.fail();
        h.sections.append(s);
    }
    const int indexCount = in.count(4);
    for (int i = 0; i < indexCount && in.ok(); ++i) {
        const int index = in.i32();
        if (index < 0)
            in.fail();
        h.indexes.append(index);
    }
    const int groupCount = in.count(24);
    for (int i = 0; i < groupCount && in.ok(); ++i) {
        FirmwareSectionGroup g;
        g.type = in.i32();
        g.first = in.i32();
        g.count = in.i32();
        g.size = in.i32();
        g.label = in.string();
        g.comment = in.string();
        if (g.first < 0 || g.count < 0)
            in.fail();
        h.groups.append(g);
    }
    if (!in.ok()) {
        qCDebug(lcLoader) << "corrupt archive header";
        return ERR_ARCHIVE_TRUNCATED;
    }

    m_headerBlock = header;
    m_image = data.mid(int(14 + l1), int(l2));
    m_name = h.name;
    m_firstHeaderValue = h.firstHeaderValue;
    m_secondHeaderValue = h.secondHeaderValue;
    m_sections = h.sections;
    m_indexes = h.indexes;
    m_groups = h.groups;
    return ERR_OK;
}

void FirmwareArchive::copyHeader(FirmwareArchiveHeader &header) const
{
    header.name = m_name;
    header.firstHeaderValue = m_firstHeaderValue;
    header.secondHeaderValue = m_secondHeaderValue;
    header.sections = m_sections;
    header.groups = m_groups;
    header.indexes = m_indexes;
}

errorCode_e FirmwareArchive::extractSection(uint8_t *destination, uint32_t bufferSize, int index) const
{
    if (index < 0 || index >= m_sections.size())
        return ERR_SECTION_INDEX;
    const FirmwareSection &s = m_sections.at(index);
    if (s.size < 0 || s.offset < 0 || uint64_t(bufferSize) < uint64_t(s.size)
        || qint64(s.offset) + qint64(s.size) > qint64(m_image.size()))
        return ERR_SECTION_EXTENT;
    if (s.size > 0)
        std::memcpy(destination, m_image.constData() + s.offset, size_t(s.size));
    return ERR_OK;
}

QByteArray FirmwareArchive::serialiseHeader() const
{
    QByteArray block;
    QDataStream out(&block, QIODevice::WriteOnly);
    out << m_name << qint32(m_secondHeaderValue) << qint32(m_firstHeaderValue);
    out << quint32(m_sections.size());
    for (const FirmwareSection &s : m_sections)
        out << qint32(s.index) << qint32(s.kind) << qint32(s.size) << qint32(s.offset) << s.name;
    out << quint32(m_indexes.size());
    for (int index : m_indexes)
        out << qint32(index);
    out << quint32(m_groups.size());
    for (const FirmwareSectionGroup &g : m_groups)
        out << qint32(g.type) << qint32(g.first) << qint32(g.count) << qint32(g.size) << g.label << g.comment;
    return block;
}

QByteArray FirmwareArchive::toText()
{
    m_headerBlock = serialiseHeader();
    QByteArray bytes;
    bytes.reserve(14 + m_headerBlock.size() + m_image.size());
    bytes.append(reinterpret_cast<const char *>(kMagic), 4);
    appendLength(bytes, uint32_t(m_headerBlock.size()));
    bytes.append(m_headerBlock);
    appendLength(bytes, uint32_t(m_image.size()));
    bytes.append(m_image);

    // Every byte is followed by a separator except the image's last one, so
    // an empty image leaves the blank after the second length block; every
    // 16th separator is a line feed.
    static const char digits[] = "0123456789abcdef";
    QByteArray text;
    text.reserve(bytes.size() * 3);
    const int last = m_image.isEmpty() ? bytes.size() : bytes.size() - 1;
    for (int i = 0; i < bytes.size(); ++i) {
        const uint8_t b = uint8_t(bytes.at(i));
        text.append(digits[b >> 4]);
        text.append(digits[b & 0xF]);
        if (i < last)
            text.append(((i + 1) % 16 == 0) ? '\n' : ' ');
    }
    return text;
}

errorCode_e FirmwareArchive::save(const QString &fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qCDebug(lcLoader) << "Failed to open file" << fileName;
        return ERR_FILE_OPEN;
    }
    const QByteArray text = toText();
    if (file.write(text) != text.size() || !file.commit())
        return ERR_ARCHIVE_WRITE;
    return ERR_OK;
}

int FirmwareArchive::addSection(const uint8_t *data, int length, uint8_t kind, const QString &name)
{
    FirmwareSection s;
    s.name = name;
    s.index = m_sections.size();
    s.kind = kind;
    s.offset = m_image.size();
    s.size = length > 0 ? length : 0;
    m_sections.append(s);
    if (data && length > 0)
        m_image.append(reinterpret_cast<const char *>(data), length);
    return 0;
}

void FirmwareArchive::addGroup(const FirmwareSectionGroup &group) { m_groups.append(group); }

void FirmwareArchive::addIndex(int index) { m_indexes.append(index); }

void FirmwareArchive::setHeaderInfo(const FirmwareArchiveHeader &header)
{
    m_name = header.name;
    m_firstHeaderValue = header.firstHeaderValue;
    m_secondHeaderValue = header.secondHeaderValue;
}

void FirmwareArchive::clear()
{
    m_image.clear();
    m_sections.clear();
    m_indexes.clear();
    m_groups.clear();
}

} // namespace loader
