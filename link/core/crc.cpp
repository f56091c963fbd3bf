#include "crc.h"

#include <array>

#include "byteorder.h"

namespace {

// Reflected CRC-16/X-25: feeding a bit-reversed byte into the high end of a
// left-shifting register is the same as feeding the plain byte into the low
// end of a right-shifting register with the reversed polynomial 0x8408.
constexpr std::array<uint16_t, 256> makeCrc16Table()
{
    std::array<uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t c = uint16_t(i);
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? uint16_t((c >> 1) ^ 0x8408) : uint16_t(c >> 1);
        t[i] = c;
    }
    return t;
}

constexpr std::array<uint32_t, 256> makeCrc32Table()
{
    std::array<uint32_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
        uint32_t c = uint32_t(i) << 24;
        for (int k = 0; k < 8; ++k)
            c = (c & 0x80000000u) ? (c << 1) ^ 0x04C11DB7u : (c << 1);
        t[i] = c;
    }
    return t;
}

// Eight tables for taking two 32-bit words per step: table k advances a
// byte through 8 * (k + 1) bits of the register.
constexpr std::array<std::array<uint32_t, 256>, 8> makeCrc32Slices()
{
    std::array<std::array<uint32_t, 256>, 8> t{};
    t[0] = makeCrc32Table();
    for (int k = 1; k < 8; ++k)
        for (unsigned i = 0; i < 256; ++i)
            t[k][i] = (t[k - 1][i] << 8) ^ t[0][t[k - 1][i] >> 24];
    return t;
}

// Four tables for taking two 16-bit words per step: table k advances a byte
// through 8 * (k + 1) bits of the reflected register.
constexpr std::array<std::array<uint16_t, 256>, 4> makeCrc16Slices()
{
    std::array<std::array<uint16_t, 256>, 4> t{};
    t[0] = makeCrc16Table();
    for (int k = 1; k < 4; ++k)
        for (unsigned i = 0; i < 256; ++i)
            t[k][i] = uint16_t((t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF]);
    return t;
}

constexpr auto kCrc16Slices = makeCrc16Slices();
constexpr const std::array<uint16_t, 256> &kCrc16Table = kCrc16Slices[0];
constexpr auto kCrc32Slices = makeCrc32Slices();
constexpr const std::array<uint32_t, 256> &kCrc32Table = kCrc32Slices[0];

inline uint16_t crc16Feed(uint16_t crc, uint8_t b) { return uint16_t((crc >> 8) ^ kCrc16Table[(crc ^ b) & 0xFF]); }
inline uint32_t crc32Feed(uint32_t crc, uint8_t b) { return (crc << 8) ^ kCrc32Table[((crc >> 24) ^ b) & 0xFF]; }

uint8_t reverse8(uint8_t b)
{
    uint8_t r = 0;
    for (int i = 0; i < 8; ++i)
        if (b & (1u << i))
            r |= uint8_t(0x80u >> i);
    return r;
}

uint16_t reverse16(uint16_t v)
{
    uint16_t r = 0;
    for (int i = 0; i < 16; ++i)
        if (v & (1u << i))
            r |= uint16_t(0x8000u >> i);
    return r;
}

uint16_t crc16FeedBitwise(uint16_t crc, uint8_t b)
{
    crc ^= uint16_t(reverse8(b)) << 8;
    for (int k = 0; k < 8; ++k)
        crc = (crc & 0x8000) ? uint16_t((crc << 1) ^ 0x1021) : uint16_t(crc << 1);
    return crc;
}

uint32_t crc32FeedBitwise(uint32_t crc, uint8_t b)
{
    crc ^= uint32_t(b) << 24;
    for (int k = 0; k < 8; ++k)
        crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : (crc << 1);
    return crc;
}

} // namespace

uint32_t crc16Words(const uint8_t *data, uint32_t length)
{
    if (!data || length == 0)
        return 0;
    // Register kept in reflected form; the final reversal is then implicit.
    uint16_t crc = 0xFFFF;
    uint32_t i = 0;
    // Two words per step: each word is fed high byte first, so the bytes
    // enter in the order i+1, i, i+3, i+2. Every frame passes through here
    // twice (built and checked), so this loop is on the request path.
    for (; i + 3 < length; i += 4) {
        const unsigned x = crc ^ (unsigned(data[i + 1]) | (unsigned(data[i]) << 8));
        crc = uint16_t(kCrc16Slices[3][x & 0xFF] ^ kCrc16Slices[2][x >> 8] ^ kCrc16Slices[1][data[i + 3]]
                       ^ kCrc16Slices[0][data[i + 2]]);
    }
    for (; i + 1 < length; i += 2) {
        crc = crc16Feed(crc, data[i + 1]);
        crc = crc16Feed(crc, data[i]);
    }
    if (i < length) {
        crc = crc16Feed(crc, 0);
        crc = crc16Feed(crc, data[i]);
    }
    return uint16_t(~crc);
}

uint32_t crc32Words(const uint8_t *data, uint32_t length)
{
    if (!data || length == 0)
        return 0;
    uint32_t crc = 0xFFFFFFFFu;
    uint32_t i = 0;
    // Each group, read as a little-endian word, is fed most significant byte
    // first: exactly one 32-bit step of the sliced tables. Two words per
    // step while they last (a catalogue file is megabytes long).
    for (; i + 7 < length; i += 8) {
        const uint32_t w0 = crc ^ le::u32(data + i);
        const uint32_t w1 = le::u32(data + i + 4);
        crc = kCrc32Slices[7][w0 >> 24] ^ kCrc32Slices[6][(w0 >> 16) & 0xFF] ^ kCrc32Slices[5][(w0 >> 8) & 0xFF]
              ^ kCrc32Slices[4][w0 & 0xFF] ^ kCrc32Slices[3][w1 >> 24] ^ kCrc32Slices[2][(w1 >> 16) & 0xFF]
              ^ kCrc32Slices[1][(w1 >> 8) & 0xFF] ^ kCrc32Slices[0][w1 & 0xFF];
    }
    for (; i + 3 < length; i += 4) {
        crc ^= le::u32(data + i);
        crc = kCrc32Slices[3][crc >> 24] ^ kCrc32Slices[2][(crc >> 16) & 0xFF]
              ^ kCrc32Slices[1][(crc >> 8) & 0xFF] ^ kCrc32Slices[0][crc & 0xFF];
    }
    if (i < length) {
        uint8_t tail[4] = {0, 0, 0, 0};
        for (uint32_t k = 0; i + k < length; ++k)
            tail[k] = data[i + k];
        for (int k = 3; k >= 0; --k)
            crc = crc32Feed(crc, tail[k]);
    }
    return ~crc;
}

uint16_t crc16X25(const uint8_t *data, uint32_t length)
{
    uint16_t crc = 0xFFFF;
    for (uint32_t i = 0; data && i < length; ++i)
        crc = crc16Feed(crc, data[i]);
    return uint16_t(~crc);
}

uint32_t crc32Bzip2(const uint8_t *data, uint32_t length)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (uint32_t i = 0; data && i < length; ++i)
        crc = crc32Feed(crc, data[i]);
    return ~crc;
}

uint32_t crc16WordsBitwise(const uint8_t *data, uint32_t length)
{
    if (!data || length == 0)
        return 0;
    uint16_t crc = 0xFFFF;
    uint32_t i = 0;
    for (; i + 1 < length; i += 2) {
        crc = crc16FeedBitwise(crc, data[i + 1]);
        crc = crc16FeedBitwise(crc, data[i]);
    }
    if (i < length) {
        crc = crc16FeedBitwise(crc, 0);
        crc = crc16FeedBitwise(crc, data[i]);
    }
    return uint16_t(~reverse16(crc));
}

uint32_t crc32WordsBitwise(const uint8_t *data, uint32_t length)
{
    if (!data || length == 0)
        return 0;
    uint32_t crc = 0xFFFFFFFFu;
    uint32_t i = 0;
    for (; i + 3 < length; i += 4) {
        crc = crc32FeedBitwise(crc, data[i + 3]);
        crc = crc32FeedBitwise(crc, data[i + 2]);
        crc = crc32FeedBitwise(crc, data[i + 1]);
        crc = crc32FeedBitwise(crc, data[i]);
    }
    if (i < length) {
        uint8_t tail[4] = {0, 0, 0, 0};
        for (uint32_t k = 0; i + k < length; ++k)
            tail[k] = data[i + k];
        for (int k = 3; k >= 0; --k)
            crc = crc32FeedBitwise(crc, tail[k]);
    }
    return ~crc;
}
