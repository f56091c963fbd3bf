#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <cstring>

#include "byteorder.h"

// The 20-byte header of log and measurement block transfers: the whole
// request payload of commands 0x11 and 0x12, and the first 20 bytes of every
// answer (data count, block index, last block index, two transfer words).
struct LogBlockHeader
{
    static constexpr int kSize = 20;
    // Where each u32 field starts.
    static constexpr int kDataCountAt = 0;
    static constexpr int kBlockIndexAt = 4;
    static constexpr int kLastBlockIndexAt = 8;
    static constexpr int kWord1At = 12;
    static constexpr int kWord2At = 16;

    uint32_t dataCount = 0;
    uint32_t blockIndex = 0;
    uint32_t lastBlockIndex = 0;
    uint32_t word1 = 0;
    uint32_t word2 = 0;

    static LogBlockHeader fromBytes(const uint8_t *bytes)
    {
        LogBlockHeader h;
        h.dataCount = le::u32(bytes + kDataCountAt);
        h.blockIndex = le::u32(bytes + kBlockIndexAt);
        h.lastBlockIndex = le::u32(bytes + kLastBlockIndexAt);
        h.word1 = le::u32(bytes + kWord1At);
        h.word2 = le::u32(bytes + kWord2At);
        return h;
    }
    void toBytes(uint8_t *bytes) const
    {
        le::put32(bytes + kDataCountAt, dataCount);
        le::put32(bytes + kBlockIndexAt, blockIndex);
        le::put32(bytes + kLastBlockIndexAt, lastBlockIndex);
        le::put32(bytes + kWord1At, word1);
        le::put32(bytes + kWord2At, word2);
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

// The five u32 fields follow one another without a gap and end at kSize.
static_assert(LogBlockHeader::kDataCountAt == 0
                  && LogBlockHeader::kBlockIndexAt == LogBlockHeader::kDataCountAt + int(sizeof(LogBlockHeader::dataCount))
                  && LogBlockHeader::kLastBlockIndexAt
                         == LogBlockHeader::kBlockIndexAt + int(sizeof(LogBlockHeader::blockIndex))
                  && LogBlockHeader::kWord1At
                         == LogBlockHeader::kLastBlockIndexAt + int(sizeof(LogBlockHeader::lastBlockIndex))
                  && LogBlockHeader::kWord2At == LogBlockHeader::kWord1At + int(sizeof(LogBlockHeader::word1))
                  && LogBlockHeader::kSize == LogBlockHeader::kWord2At + int(sizeof(LogBlockHeader::word2)),
              "LogBlockHeader layout");
static_assert(sizeof(LogRecord) == LogRecord::kSize, "LogRecord is 32 bytes on the wire");
