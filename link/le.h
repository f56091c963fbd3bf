#pragma once

#include <cstdint>
#include <cstring>

// Little-endian field access into byte buffers. Records on the wire are
// packed and unaligned, so fields are always read and written byte by byte,
// never through a cast pointer.
namespace le {

inline uint16_t u16(const uint8_t *p) { return uint16_t(p[0] | (p[1] << 8)); }
inline int16_t i16(const uint8_t *p) { return int16_t(u16(p)); }
inline uint32_t u32(const uint8_t *p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline int32_t i32(const uint8_t *p) { return int32_t(u32(p)); }
inline uint64_t u64(const uint8_t *p) { return uint64_t(u32(p)) | (uint64_t(u32(p + 4)) << 32); }

inline void put16(uint8_t *p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void put32(uint8_t *p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
inline void put64(uint8_t *p, uint64_t v)
{
    put32(p, uint32_t(v));
    put32(p + 4, uint32_t(v >> 32));
}

} // namespace le
