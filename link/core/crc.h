#pragma once

#include <cstdint>

// CRC-16 of device frames: X-25 parameters (poly 0x1021, init 0xFFFF,
// reflected in and out, final XOR 0xFFFF) over the bytes taken in swapped
// pairs. The low 16 bits of the result are the check value. A trailing odd
// byte is fed as if paired with a zero byte (callers always pass even counts).
uint32_t crc16Words(const uint8_t *data, uint32_t length);

// CRC-32 of configuration blobs and database files: poly 0x04C11DB7, init
// 0xFFFFFFFF, no reflection, final XOR 0xFFFFFFFF, over the bytes taken in
// reversed 4-byte groups (each group a little-endian word, fed MSB first).
// No data gives 0. A trailing partial group is zero-extended.
uint32_t crc32Words(const uint8_t *data, uint32_t length);

// The same two checks over a plain byte stream (no pair or group swapping):
// the catalogue algorithms CRC-16/X-25 and CRC-32/BZIP2.
uint16_t crc16X25(const uint8_t *data, uint32_t length);
uint32_t crc32Bzip2(const uint8_t *data, uint32_t length);

// The bit-by-bit forms of the same checks: the reference the table-driven
// routines are tested and benchmarked against.
uint32_t crc16WordsBitwise(const uint8_t *data, uint32_t length);
uint32_t crc32WordsBitwise(const uint8_t *data, uint32_t length);
