#pragma once

#include <QByteArray>
#include <QVector>
#include <cstdint>

// The device frame shared by the unit's protocol and its bootloader's:
// u16 sequence, u8 flags, u8 command, u16 payload length (pad included),
// 0x01, 0x00, payload, an optional 0x00 pad byte so the frame is even-sized,
// then the CRC-16 of everything before it, low byte first.

namespace FrameFlag {
enum : uint8_t {
    Request = 0x80,
    Answer = 0x40,
    KeepAlive = 0x20,
    Error = 0x10,
    Ack = 0x04,
    Nak = 0x02,
};
}

constexpr uint16_t kDevicePort = 7755;
constexpr int kFrameHeaderSize = 8;
constexpr int kFramePayloadMax = 1490;
constexpr int kFrameSize = kFrameHeaderSize + kFramePayloadMax;  // 1498
constexpr int kFrameCrcSize = 2;
constexpr int kFrameBufferReserve = 1500;
constexpr uint8_t kFrameVersion = 0x01;

// One piece of a request payload; pieces are appended in list order. A null
// pointer or a zero count contributes nothing.
struct PayloadChunk
{
    const void *data = nullptr;
    uint32_t size = 0;
};
using PayloadChunks = QVector<PayloadChunk>;

struct FrameHeader
{
    uint16_t sequence = 0;
    uint8_t flags = 0;
    uint8_t command = 0;
    uint16_t length = 0;
    uint8_t version = 0;
    uint8_t reserved = 0;

    // Reads the 8 header bytes; the caller guarantees they are there.
    static FrameHeader parse(const uint8_t *bytes);
};

// Why a datagram was not taken as a frame.
enum class FrameCheck {
    Ok,
    TooShort,    // fewer than 8 bytes
    Oversized,   // longer than 1500 bytes, or a length field over 1490
    Incomplete,  // fewer bytes than length + 10
    CrcMismatch,
};

// A received frame: the datagram copied into a zero-filled 1498-byte frame,
// so a read past the received payload reads zeros.
class EthernetFrame
{
public:
    EthernetFrame();

    // Checks the datagram in the order the receive path reports problems
    // (size, completeness, CRC) and, when it is a frame, takes it in. An
    // oversized datagram is refused before anything is copied. The frame is
    // zero-filled afresh on every call.
    FrameCheck assign(const QByteArray &datagram);
    static FrameCheck check(const QByteArray &datagram);

    const FrameHeader &header() const { return m_header; }
    const uint8_t *payload() const { return m_bytes + kFrameHeaderSize; }
    uint16_t payloadLength() const { return m_header.length; }
    // The status of an error answer: the first four payload bytes, signed.
    int32_t errorStatus() const;
    const uint8_t *bytes() const { return m_bytes; }

private:
    FrameHeader m_header;
    uint8_t m_bytes[kFrameSize];
};

// The counter every frame builder draws from: 0 after construction, and each
// frame takes the value after incrementing it (1 first, 65535 then 0).
class SequenceCounter
{
public:
    uint16_t next() { return ++m_value; }
    uint16_t current() const { return m_value; }
    void set(uint16_t value) { m_value = value; }

private:
    uint16_t m_value = 0;
};

// Frame building in the three steps the request engine uses. The buffer
// keeps room for a whole frame so building does not allocate in steady state.
void frameBuildHeader(QByteArray &buffer, uint16_t sequence, uint8_t command,
                      uint8_t flags = FrameFlag::Request);
void frameAppend(QByteArray &buffer, const PayloadChunks &chunks);
void frameAppend(QByteArray &buffer, const void *data, uint32_t size);
void frameFinish(QByteArray &buffer);

// All three at once.
QByteArray buildFrame(uint16_t sequence, uint8_t command, const PayloadChunks &chunks,
                      uint8_t flags = FrameFlag::Request);
QByteArray buildFrame(uint16_t sequence, uint8_t command, const QByteArray &payload,
                      uint8_t flags = FrameFlag::Request);
