#pragma once

#include <cstdint>

namespace loader {

// The loader's CRC-32: polynomial 0x04C11DB7, most significant bit first, no
// reflection, initial value 0, no final XOR, over the bytes taken in 4-byte
// groups with each group reversed (a little-endian word enters MSB first).
// A trailing partial group is padded with 0xFF, as erased flash reads, so the
// check never reaches past the data; the bootloader pads the same way.
uint32_t crc32SwappedWords(const uint8_t *data, uint32_t length);

// The same CRC-32 from a start value, one table step per byte, bytes taken as
// they stand (no group reversal). Length 0 gives the start value.
uint32_t crc32Table(uint32_t start, const uint8_t *data, uint32_t length);

// The same CRC-32 bit by bit over the bytes as they stand, start 0.
uint32_t crc32Bitwise(const uint8_t *data, uint32_t length);

// 1-Wire CRC-8 (polynomial 0x31, reflected).
uint8_t crc8Update(uint8_t crc, uint8_t byte);
// crc8Update over the bytes from the start value 1; null or empty gives 1.
uint8_t crc8(const uint8_t *data, uint32_t length);

// Bitwise CRC-16, polynomial 0x8005, register starting at 0x2063, message
// bits shifted in at the low end, most significant bit of each byte first.
// Null gives 0, length 0 gives 0x2063.
uint16_t crc16Buffer(const uint8_t *data, uint16_t length);

// Reverses the lowest n bits of value; the other bits stay.
uint32_t reflectBits(uint32_t value, int n);

// Copies `groups` 4-byte groups, reversing the bytes within each group.
void copyWordsByteReversed(uint8_t *destination, const uint8_t *source, uint32_t groups);

} // namespace loader
