#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// The 256-byte name record of the unit and of each channel, used the same way
// on the wire and in configuration files: bytes 0..249 the name as UTF-8
// (the rest zero), byte 250 the number of UTF-8 bytes, bytes 251..255 zero.
// Because the length lives at byte 250, a name can never be longer than 250
// UTF-8 bytes; anything longer would overwrite its own length.
class DeviceNameRecord
{
public:
    static constexpr int kSize = 256;
    static constexpr int kMaxTextBytes = 250;
    static constexpr int kLengthOffset = 250;

    DeviceNameRecord();
    explicit DeviceNameRecord(const QString &text);

    // Takes exactly kSize bytes; anything else is refused and leaves *out as
    // it was.
    static bool fromBytes(const QByteArray &bytes, DeviceNameRecord *out);
    static DeviceNameRecord fromRaw(const uint8_t *bytes);  // kSize bytes
    QByteArray toBytes() const;

    const uint8_t *data() const { return m_bytes; }
    uint8_t *data() { return m_bytes; }

    // The name. A length byte above 250 (a record damaged elsewhere) is read
    // as 250, and a sequence cut off at the end is dropped, so the text never
    // holds a replacement character of our own making.
    QString text() const;

    // Stores the name. A name over 250 UTF-8 bytes is cut at the last whole
    // UTF-8 sequence that fits and false is returned; true when it fitted.
    bool setText(const QString &text);

    // The number of UTF-8 bytes of text, the form the limit applies to.
    static int utf8Size(const QString &text) { return text.toUtf8().size(); }

    bool operator==(const DeviceNameRecord &other) const;
    bool operator!=(const DeviceNameRecord &other) const { return !(*this == other); }

private:
    uint8_t m_bytes[kSize];
};

static_assert(sizeof(DeviceNameRecord) == DeviceNameRecord::kSize, "DeviceNameRecord must be 256 bytes");
