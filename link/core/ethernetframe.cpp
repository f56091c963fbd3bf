#include "ethernetframe.h"


#include "crc.h"
#include <cstring>

#include "byteorder.h"

FrameHeader FrameHeader::parse(const uint8_t *bytes)
{
    FrameHeader h;
    h.sequence = le::u16(bytes);
    h.flags = bytes[2];
    h.command = bytes[3];
    h.length = le::u16(bytes + 4);
    h.version = bytes[6];
    h.reserved = bytes[7];
    return h;
}

EthernetFrame::EthernetFrame()
{
    std::memset(m_bytes, 0, sizeof m_bytes);
}

FrameCheck EthernetFrame::check(const QByteArray &datagram)
{
    const int size = datagram.size();
    if (size < kFrameHeaderSize)
        return FrameCheck::TooShort;
    const auto *raw = reinterpret_cast<const uint8_t *>(datagram.constData());
    const uint16_t length = le::u16(raw + 4);
    if (size > kFrameBufferReserve || length > kFramePayloadMax)
        return FrameCheck::Oversized;
    if (size < length + kFrameHeaderSize + kFrameCrcSize)
        return FrameCheck::Incomplete;
    const uint16_t stored = le::u16(raw + kFrameHeaderSize + length);
    if (uint16_t(crc16Words(raw, uint32_t(kFrameHeaderSize + length))) != stored)
        return FrameCheck::CrcMismatch;
    return FrameCheck::Ok;
}

FrameCheck EthernetFrame::assign(const QByteArray &datagram)
{
    m_header = FrameHeader();
    const FrameCheck result = check(datagram);
    if (result != FrameCheck::Ok) {
        std::memset(m_bytes, 0, sizeof m_bytes);
        return result;
    }
    // Header and payload only: anything read past the payload reads zeros,
    // never the CRC or trailing bytes.
    m_header = FrameHeader::parse(reinterpret_cast<const uint8_t *>(datagram.constData()));
    const size_t used = size_t(kFrameHeaderSize + m_header.length);
    std::memcpy(m_bytes, datagram.constData(), used);
    std::memset(m_bytes + used, 0, sizeof m_bytes - used);
    return FrameCheck::Ok;
}

int32_t EthernetFrame::errorStatus() const
{
    return le::i32(payload());
}

void frameBuildHeader(QByteArray &buffer, uint16_t sequence, uint8_t command, uint8_t flags)
{
    // Emptied, not freed: the reserved room is reused frame after frame.
    buffer.resize(0);
    buffer.reserve(kFrameBufferReserve);
    uint8_t header[kFrameHeaderSize];
    le::put16(header, sequence);
    header[2] = flags;
    header[3] = command;
    le::put16(header + 4, 0);
    header[6] = kFrameVersion;
    header[7] = 0x00;
    buffer.append(reinterpret_cast<const char *>(header), kFrameHeaderSize);
}

void frameAppend(QByteArray &buffer, const void *data, uint32_t size)
{
    if (data && size)
        buffer.append(static_cast<const char *>(data), int(size));
}

void frameAppend(QByteArray &buffer, const PayloadChunks &chunks)
{
    for (const PayloadChunk &chunk : chunks)
        frameAppend(buffer, chunk.data, chunk.size);
}

void frameFinish(QByteArray &buffer)
{
    if (buffer.size() & 1)
        buffer.append('\0');
    auto *raw = reinterpret_cast<uint8_t *>(buffer.data());
    le::put16(raw + 4, uint16_t(buffer.size() - kFrameHeaderSize));
    const uint16_t crc = uint16_t(crc16Words(raw, uint32_t(buffer.size())));
    uint8_t tail[2];
    le::put16(tail, crc);
    buffer.append(reinterpret_cast<const char *>(tail), 2);
}

QByteArray buildFrame(uint16_t sequence, uint8_t command, const PayloadChunks &chunks, uint8_t flags)
{
    QByteArray buffer;
    frameBuildHeader(buffer, sequence, command, flags);
    frameAppend(buffer, chunks);
    frameFinish(buffer);
    return buffer;
}

QByteArray buildFrame(uint16_t sequence, uint8_t command, const QByteArray &payload, uint8_t flags)
{
    return buildFrame(sequence, command, PayloadChunks{{payload.constData(), uint32_t(payload.size())}}, flags);
}
