#pragma once

#include <cstdint>

// The fixed tables of the configuration blob scrambling. The tool, the
// simulated unit and every configuration file ever written depend on these
// exact values: they must never change.
//
// Row table, one byte per row of the 16 x 32 byte matrix: high five bits the
// column offset (0..31), low three bits the bit rotation (0..7).
// Column table, one byte per column: high five bits the row offset, which
// addresses one of 16 rows and so stays below 16 (every byte below 0x80);
// low three bits the bit rotation.
namespace scrambletables {

constexpr int kRows = 16;
constexpr int kColumns = 32;

constexpr uint8_t kRowTable[kRows] = {
    0x6B, 0x3D, 0xE9, 0x16, 0x92, 0xC7, 0x4C, 0xFB,
    0x2D, 0xB1, 0x5E, 0xDA, 0x87, 0x1B, 0xA4, 0x75,
};

constexpr uint8_t kColumnTable[kColumns] = {
    0x4B, 0x31, 0x67, 0x4F, 0x07, 0x4C, 0x23, 0x07,
    0x1E, 0x69, 0x71, 0x33, 0x4E, 0x14, 0x1C, 0x47,
    0x6E, 0x2A, 0x09, 0x22, 0x2F, 0x7E, 0x03, 0x16,
    0x21, 0x76, 0x6C, 0x1D, 0x12, 0x71, 0x5E, 0x51,
};

constexpr bool columnTableFitsRows()
{
    for (uint8_t b : kColumnTable) {
        if (b >= 0x80)
            return false;
    }
    return true;
}
static_assert(columnTableFitsRows(), "a column table row offset must address one of the 16 rows");

} // namespace scrambletables
