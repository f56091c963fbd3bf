#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <cstring>

#include "le.h"

// The 20-byte header of log and measurement block transfers: the whole
// request payload of commands 0x11 and 0x12, and the first 20 bytes of every
// answer (data count, block index, last block index, two transfer words).
struct LogBlockHeader
{
    static constexpr int kSize = 20;

    uint32_t dataCount = 0;
    uint32_t blockIndex = 0;
    uint32_t lastBlockIndex = 0;
    uint32_t word1 = 0;
    uint32_t word2 = 0;

    static LogBlockHeader fromBytes(const uint8_t *bytes)
    {
        LogBlockHeader h;
        h.dataCount = le::u32(bytes);
        h.blockIndex = le::u32(bytes + 4);
        h.lastBlockIndex = le::u32(bytes + 8);
        h.word1 = le::u32(bytes + 12);
        h.word2 = le::u32(bytes + 16);
        return h;
    }
    void toBytes(uint8_t *bytes) const
    {
        le::put32(bytes, dataCount);
        le::put32(bytes + 4, blockIndex);
        le::put32(bytes + 8, lastBlockIndex);
        le::put32(bytes + 12, word1);
        le::put32(bytes + 16, word2);
    }
    QByteArray toByteArray() const
    {
        QByteArray out(kSize, '\0');
        toBytes(reinterpret_cast<uint8_t *>(out.data()));
        return out;
    }
};

// One raw record of the unit's event log: u32 time stamp in seconds, u32
// event id, 24 payload bytes. A slot of all 0xFF bytes is erased.
struct LogRecord
{
    static constexpr int kSize = 32;
    static constexpr int kPayloadSize = 24;

    std::array<uint8_t, kSize> bytes{};

    static LogRecord fromBytes(const uint8_t *raw)
    {
        LogRecord r;
        std::memcpy(r.bytes.data(), raw, kSize);
        return r;
    }
    uint32_t timeStamp() const { return le::u32(bytes.data()); }
    uint32_t eventId() const { return le::u32(bytes.data() + 4); }
    const uint8_t *payload() const { return bytes.data() + 8; }
    bool isErased() const
    {
        for (uint8_t b : bytes)
            if (b != 0xFF)
                return false;
        return true;
    }
    QByteArray toByteArray() const { return QByteArray(reinterpret_cast<const char *>(bytes.data()), kSize); }
    bool operator==(const LogRecord &other) const { return bytes == other.bytes; }
    bool operator!=(const LogRecord &other) const { return !(*this == other); }
};

static_assert(LogBlockHeader::kSize == 5 * 4, "LogBlockHeader is five u32 words");
static_assert(sizeof(LogRecord) == LogRecord::kSize, "LogRecord is 32 bytes on the wire");
