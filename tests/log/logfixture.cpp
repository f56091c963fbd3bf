#include "logfixture.h"

#include <QDataStream>
#include <QTextStream>

#include "byteorder.h"
#include "logentrybase.h"
#include "logentrydetail.h"

RecordBuilder::RecordBuilder(uint32_t time, uint32_t id)
{
    le::put32(m_record.bytes.data(), time);
    le::put32(m_record.bytes.data() + 4, id);
}

RecordBuilder &RecordBuilder::u8(int offset, uint8_t v)
{
    m_record.bytes[size_t(offset)] = v;
    return *this;
}

RecordBuilder &RecordBuilder::u16(int offset, uint16_t v)
{
    le::put16(m_record.bytes.data() + offset, v);
    return *this;
}

RecordBuilder &RecordBuilder::u32(int offset, uint32_t v)
{
    le::put32(m_record.bytes.data() + offset, v);
    return *this;
}

RecordBuilder &RecordBuilder::u64(int offset, uint64_t v)
{
    le::put64(m_record.bytes.data() + offset, v);
    return *this;
}

RecordBuilder &RecordBuilder::fill(uint8_t v)
{
    for (int i = 8; i < LogRecord::kSize; ++i)
        m_record.bytes[size_t(i)] = v;
    return *this;
}

QStringList detailLines(const LogEntryBase &node)
{
    QStringList lines;
    for (int r = 0; r < node.childCount(); ++r) {
        const auto *d = dynamic_cast<const LogEntryDetail *>(node.child(r));
        if (!d) {
            lines << QStringLiteral("<not a detail>");
            continue;
        }
        const QVariant v = d->value();
        const char *kind = v.userType() == QMetaType::Int        ? "i"
                           : v.userType() == QMetaType::UInt     ? "u"
                           : v.userType() == QMetaType::QString ? "s"
                                                                : "?";
        lines << d->name() + QLatin1Char('|') + d->valueText() + QLatin1Char('|') + QLatin1String(kind);
    }
    return lines;
}

QString treeText(const LogEntryBase &root)
{
    QString text;
    QTextStream out(&text);
    root.writeTree(out, 0);
    out.flush();
    return text;
}

QByteArray serialized(const LogEntryBase &root)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    root.serialize(out);
    return bytes;
}

QVector<LogRecord> recordsOf(const QByteArray &bytes)
{
    if (bytes.size() < 4)
        return {};
    QDataStream in(bytes);
    qint32 size = 0;
    in >> size;
    if (size < 0 || size % LogRecord::kSize != 0 || size != bytes.size() - 4)
        return {};
    QVector<LogRecord> records;
    for (int at = 4; at < bytes.size(); at += LogRecord::kSize)
        records << LogRecord::fromBytes(reinterpret_cast<const uint8_t *>(bytes.constData()) + at);
    return records;
}
