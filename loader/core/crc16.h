#pragma once

#include <cstdint>

namespace loader {

// A parameterised CRC-16 as the bootloader protocol uses it. With the X-25
// values of the constructor and pair swapping on, the result equals the
// frame check of the device protocol.
class Crc16
{
public:
    Crc16();

    uint16_t initial = 0xFFFF;
    uint16_t finalXor = 0xFFFF;
    uint16_t polynomial = 0x1021;
    uint8_t reflectInput = 1;
    uint8_t reflectOutput = 1;
    uint8_t swapPairs = 1;

    // Computes over n bytes. With pair swapping the bytes of each 16-bit pair
    // are taken in swapped order; a trailing odd byte is taken as it stands.
    // The buffer itself is never changed.
    uint16_t calculate(const uint8_t *data, uint32_t n) const;
};

} // namespace loader
