#pragma once

#include <cstdint>

// Scrambling of the 512-byte configuration blob whenever it leaves the tool
// (to the unit or into a file). The blob is a matrix of 16 rows of 32 bytes:
// each row is rotated as one 256-bit little-endian number and its bytes
// permuted, then each column the same way, then every byte goes through the
// AES S-box. Unscrambling undoes the stages in reverse order.
//
// The 64-bit field at bytes 488..495 (a 48-bit MAC address) is shifted left
// by 13 bits before scrambling and right by 13 after unscrambling, so a value
// that fits in 51 bits comes back unchanged.
class BlobScrambler
{
public:
    static constexpr int kSize = 512;
    static constexpr int kMacFieldOffset = 488;
    static constexpr int kMacShift = 13;

    // in and out may be the same buffer; the result is written last.
    static void scramble(const uint8_t *in, uint8_t *out);
    static void unscramble(const uint8_t *in, uint8_t *out);

    // FIPS-197 substitution tables.
    static const uint8_t *sbox();
    static const uint8_t *inverseSbox();
};
