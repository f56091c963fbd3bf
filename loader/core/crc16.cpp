#include "crc16.h"

#include "checksums.h"

namespace loader {

Crc16::Crc16() = default;

uint16_t Crc16::calculate(const uint8_t *data, uint32_t n) const
{
    uint16_t reg = initial;
    for (uint32_t i = 0; i < n; ++i) {
        uint32_t at = i;
        // Swapping is done on the fly rather than in place, so a caller's
        // buffer is never touched, even briefly.
        if (swapPairs && (i ^ 1u) < n)
            at = i ^ 1u;
        uint8_t b = data[at];
        if (reflectInput)
            b = uint8_t(reflectBits(b, 8));
        reg ^= uint16_t(b) << 8;
        for (int k = 0; k < 8; ++k)
            reg = (reg & 0x8000u) ? uint16_t((reg << 1) ^ polynomial) : uint16_t(reg << 1);
    }
    if (reflectOutput)
        reg = uint16_t(reflectBits(reg, 16));
    return uint16_t(reg ^ finalXor);
}

} // namespace loader
