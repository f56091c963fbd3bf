#pragma once

#include <QtEndian>
#include <cstdint>

// Field access into byte buffers, in both byte orders the programs meet:
// little-endian for the unit's records and frames, big-endian for network
// addresses and the length-prefixed blocks that QDataStream writes. Records
// are packed and unaligned, so a field is always read and written through
// these (byte-wise, alignment-free), never through a cast pointer.
namespace le {

inline uint16_t u16(const uint8_t *p) { return qFromLittleEndian<quint16>(p); }
inline int16_t i16(const uint8_t *p) { return int16_t(u16(p)); }
inline uint32_t u32(const uint8_t *p) { return qFromLittleEndian<quint32>(p); }
inline int32_t i32(const uint8_t *p) { return int32_t(u32(p)); }
inline uint64_t u64(const uint8_t *p) { return qFromLittleEndian<quint64>(p); }

inline void put16(uint8_t *p, uint16_t v) { qToLittleEndian<quint16>(v, p); }
inline void put32(uint8_t *p, uint32_t v) { qToLittleEndian<quint32>(v, p); }
inline void put64(uint8_t *p, uint64_t v) { qToLittleEndian<quint64>(v, p); }

} // namespace le

namespace be {

inline uint16_t u16(const uint8_t *p) { return qFromBigEndian<quint16>(p); }
inline uint32_t u32(const uint8_t *p) { return qFromBigEndian<quint32>(p); }

inline void put16(uint8_t *p, uint16_t v) { qToBigEndian<quint16>(v, p); }
inline void put32(uint8_t *p, uint32_t v) { qToBigEndian<quint32>(v, p); }

} // namespace be
