#include "blobscrambler.h"

#include "byteorder.h"
#include "scrambletables.h"

#include <cstring>

namespace {

constexpr int kRows = scrambletables::kRows;
constexpr int kCols = scrambletables::kColumns;
static_assert(kRows * kCols == BlobScrambler::kSize, "the matrix covers the blob");

constexpr uint8_t rotl8(uint8_t v, int n) { return uint8_t((v << n) | (v >> (8 - n))); }

struct SboxTables
{
    uint8_t forward[256] = {};
    uint8_t inverse[256] = {};
};

// Builds the AES S-box by walking the multiplicative group of GF(2^8): p runs
// through the powers of 3, q through those of its inverse, so q = 1/p, and
// the affine transform of q is S(p).
constexpr SboxTables makeSbox()
{
    SboxTables t;
    uint8_t p = 1;
    uint8_t q = 1;
    do {
        p = uint8_t(p ^ uint8_t(p << 1) ^ ((p & 0x80) ? 0x1B : 0));
        q = uint8_t(q ^ uint8_t(q << 1));
        q = uint8_t(q ^ uint8_t(q << 2));
        q = uint8_t(q ^ uint8_t(q << 4));
        if (q & 0x80)
            q = uint8_t(q ^ 0x09);
        const uint8_t x = uint8_t(q ^ rotl8(q, 1) ^ rotl8(q, 2) ^ rotl8(q, 3) ^ rotl8(q, 4));
        t.forward[p] = uint8_t(x ^ 0x63);
    } while (p != 1);
    t.forward[0] = 0x63;
    for (int i = 0; i < 256; ++i)
        t.inverse[t.forward[i]] = uint8_t(i);
    return t;
}

constexpr SboxTables kSbox = makeSbox();
static_assert(kSbox.forward[0x00] == 0x63 && kSbox.forward[0x53] == 0xED && kSbox.forward[0xFF] == 0x16,
              "AES S-box");

inline int rowOffset(int r) { return scrambletables::kRowTable[r] >> 3; }
inline int rowRotation(int r) { return scrambletables::kRowTable[r] & 7; }
inline int columnOffset(int c) { return scrambletables::kColumnTable[c] >> 3; }
inline int columnRotation(int c) { return scrambletables::kColumnTable[c] & 7; }

inline int at(int r, int c) { return r * kCols + c; }

} // namespace

const uint8_t *BlobScrambler::sbox() { return kSbox.forward; }
const uint8_t *BlobScrambler::inverseSbox() { return kSbox.inverse; }

void BlobScrambler::scramble(const uint8_t *in, uint8_t *out)
{
    uint8_t a[kSize];
    uint8_t b[kSize];
    std::memcpy(a, in, kSize);
    le::put64(a + kMacFieldOffset, le::u64(a + kMacFieldOffset) << kMacShift);

    // Rows: rotate each row (a little-endian 256-bit number) left by k bits
    // and store byte c at column o ^ c.
    for (int r = 0; r < kRows; ++r) {
        const int o = rowOffset(r);
        const int k = rowRotation(r);
        unsigned carry = 0;
        for (int c = 0; c < kCols; ++c) {
            const unsigned v = a[at(r, c)];
            b[at(r, o ^ c)] = uint8_t((v << k) | carry);
            carry = (v << k) >> 8;
        }
        b[at(r, o)] = uint8_t(b[at(r, o)] | carry);
    }

    // Columns: the same along each column with row offset o.
    for (int c = 0; c < kCols; ++c) {
        const int o = columnOffset(c);
        const int k = columnRotation(c);
        unsigned carry = 0;
        for (int r = 0; r < kRows; ++r) {
            const unsigned v = b[at(r, c)];
            a[at(o ^ r, c)] = uint8_t((v << k) | carry);
            carry = (v << k) >> 8;
        }
        a[at(o, c)] = uint8_t(a[at(o, c)] | carry);
    }

    for (int i = 0; i < kSize; ++i)
        out[i] = kSbox.forward[a[i]];
}

void BlobScrambler::unscramble(const uint8_t *in, uint8_t *out)
{
    uint8_t s[kSize];
    uint8_t x[kSize];
    for (int i = 0; i < kSize; ++i)
        s[i] = kSbox.inverse[in[i]];

    for (int c = 0; c < kCols; ++c) {
        const int o = columnOffset(c);
        const int k = columnRotation(c);
        for (int r = 0; r < kRows; ++r) {
            const unsigned hi = s[at(o ^ ((r + 1) % kRows), c)];
            const unsigned lo = s[at(o ^ r, c)];
            x[at(r, c)] = uint8_t(((hi << 8) | lo) >> k);
        }
    }

    for (int r = 0; r < kRows; ++r) {
        const int o = rowOffset(r);
        const int k = rowRotation(r);
        for (int c = 0; c < kCols; ++c) {
            const unsigned hi = x[at(r, o ^ ((c + 1) % kCols))];
            const unsigned lo = x[at(r, o ^ c)];
            out[at(r, c)] = uint8_t(((hi << 8) | lo) >> k);
        }
    }
    le::put64(out + kMacFieldOffset, le::u64(out + kMacFieldOffset) >> kMacShift);
}
