#include "devicenamerecord.h"

#include <cstring>

namespace {

bool isContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }

// The largest count <= limit that does not end inside a UTF-8 sequence.
int wholeSequencePrefix(const uint8_t *p, int size, int limit)
{
    if (size <= limit)
        return size;
    int cut = limit;
    // p[cut] is the first byte left out; while it continues a sequence, the
    // sequence it belongs to does not fit either.
    while (cut > 0 && isContinuation(p[cut]))
        --cut;
    return cut;
}

// Drops a lead byte and its continuation bytes at the very end when the
// sequence is shorter than its lead byte announces.
int dropTruncatedTail(const uint8_t *p, int size)
{
    int start = size;
    while (start > 0 && isContinuation(p[start - 1]) && size - start < 3)
        --start;
    if (start == 0)
        return size;
    const uint8_t lead = p[start - 1];
    int need = 0;
    if ((lead & 0xE0) == 0xC0)
        need = 2;
    else if ((lead & 0xF0) == 0xE0)
        need = 3;
    else if ((lead & 0xF8) == 0xF0)
        need = 4;
    else
        return size;  // ASCII or a stray byte: nothing of ours to tidy
    const int have = size - (start - 1);
    return have < need ? start - 1 : size;
}

} // namespace

DeviceNameRecord::DeviceNameRecord()
{
    std::memset(m_bytes, 0, sizeof m_bytes);
}

DeviceNameRecord::DeviceNameRecord(const QString &text)
    : DeviceNameRecord()
{
    setText(text);
}

bool DeviceNameRecord::fromBytes(const QByteArray &bytes, DeviceNameRecord *out)
{
    if (!out || bytes.size() != kSize)
        return false;
    std::memcpy(out->m_bytes, bytes.constData(), kSize);
    return true;
}

DeviceNameRecord DeviceNameRecord::fromRaw(const uint8_t *bytes)
{
    DeviceNameRecord r;
    std::memcpy(r.m_bytes, bytes, kSize);
    return r;
}

QByteArray DeviceNameRecord::toBytes() const
{
    return QByteArray(reinterpret_cast<const char *>(m_bytes), kSize);
}

QString DeviceNameRecord::text() const
{
    int n = m_bytes[kLengthOffset];
    if (n > kMaxTextBytes)
        n = kMaxTextBytes;
    n = dropTruncatedTail(m_bytes, n);
    return QString::fromUtf8(reinterpret_cast<const char *>(m_bytes), n);
}

bool DeviceNameRecord::setText(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    const auto *p = reinterpret_cast<const uint8_t *>(utf8.constData());
    const int n = wholeSequencePrefix(p, utf8.size(), kMaxTextBytes);
    std::memset(m_bytes, 0, sizeof m_bytes);
    std::memcpy(m_bytes, p, size_t(n));
    m_bytes[kLengthOffset] = uint8_t(n);
    return n == utf8.size();
}

bool DeviceNameRecord::operator==(const DeviceNameRecord &other) const
{
    return std::memcmp(m_bytes, other.m_bytes, kSize) == 0;
}
