#include "checksums.h"

#include <array>

namespace loader {

namespace {

constexpr uint32_t kPolynomial = 0x04C11DB7u;

constexpr std::array<uint32_t, 256> makeTable()
{
    std::array<uint32_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
        uint32_t c = uint32_t(i) << 24;
        for (int k = 0; k < 8; ++k)
            c = (c & 0x80000000u) ? (c << 1) ^ kPolynomial : (c << 1);
        t[i] = c;
    }
    return t;
}

constexpr auto kTable = makeTable();

inline uint32_t step(uint32_t reg, uint8_t b) { return (reg << 8) ^ kTable[((reg >> 24) ^ b) & 0xFFu]; }

} // namespace

uint32_t crc32SwappedWords(const uint8_t *data, uint32_t length)
{
    uint32_t reg = 0;
    if (!data)
        return reg;
    const uint32_t whole = length & ~3u;
    for (uint32_t i = 0; i < whole; i += 4) {
        reg = step(reg, data[i + 3]);
        reg = step(reg, data[i + 2]);
        reg = step(reg, data[i + 1]);
        reg = step(reg, data[i]);
    }
    if (whole != length) {
        uint8_t group[4] = {0xFF, 0xFF, 0xFF, 0xFF};
        for (uint32_t i = whole; i < length; ++i)
            group[i - whole] = data[i];
        for (int k = 3; k >= 0; --k)
            reg = step(reg, group[k]);
    }
    return reg;
}

uint32_t crc32Table(uint32_t start, const uint8_t *data, uint32_t length)
{
    uint32_t reg = start;
    if (!data)
        return reg;
    for (uint32_t i = 0; i < length; ++i)
        reg = step(reg, data[i]);
    return reg;
}

uint32_t crc32Bitwise(const uint8_t *data, uint32_t length)
{
    uint32_t reg = 0;
    if (!data)
        return reg;
    for (uint32_t i = 0; i < length; ++i) {
        reg ^= uint32_t(data[i]) << 24;
        for (int k = 0; k < 8; ++k)
            reg = (reg & 0x80000000u) ? (reg << 1) ^ kPolynomial : (reg << 1);
    }
    return reg;
}

uint8_t crc8Update(uint8_t crc, uint8_t byte)
{
    crc ^= byte;
    for (int k = 0; k < 8; ++k)
        crc = (crc & 1u) ? uint8_t((crc >> 1) ^ 0x8Cu) : uint8_t(crc >> 1);
    return crc;
}

uint8_t crc8(const uint8_t *data, uint32_t length)
{
    uint8_t crc = 1;
    if (!data)
        return crc;
    for (uint32_t i = 0; i < length; ++i)
        crc = crc8Update(crc, data[i]);
    return crc;
}

uint16_t crc16Buffer(const uint8_t *data, uint16_t length)
{
    if (!data)
        return 0;
    uint32_t reg = 0x2063;
    for (uint32_t i = 0; i < length; ++i) {
        for (int bit = 7; bit >= 0; --bit) {
            const bool top = reg & 0x8000u;
            reg = ((reg << 1) | ((data[i] >> bit) & 1u)) & 0xFFFFu;
            if (top)
                reg ^= 0x8005u;
        }
    }
    return uint16_t(reg);
}

uint32_t reflectBits(uint32_t value, int n)
{
    if (n <= 0)
        return value;
    if (n > 32)
        n = 32;
    uint32_t reflected = 0;
    for (int i = 0; i < n; ++i)
        if (value & (1u << i))
            reflected |= 1u << (n - 1 - i);
    const uint32_t mask = n == 32 ? 0xFFFFFFFFu : ((1u << n) - 1u);
    return (value & ~mask) | reflected;
}

void copyWordsByteReversed(uint8_t *destination, const uint8_t *source, uint32_t groups)
{
    for (uint32_t g = 0; g < groups; ++g) {
        const uint32_t i = g * 4;
        destination[i] = source[i + 3];
        destination[i + 1] = source[i + 2];
        destination[i + 2] = source[i + 1];
        destination[i + 3] = source[i];
    }
}

} // namespace loader
