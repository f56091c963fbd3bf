#pragma once

#include <cstdint>

namespace loader {

// The unit's flash: sectors from 0x08000000 to the end mark at 0x08100000.
namespace flash {
constexpr uint32_t kStart = 0x08000000u;
constexpr uint32_t kEnd = 0x08100000u;
constexpr uint32_t kPageSize = 0x4000u;
constexpr uint32_t kKeyStart = 0x08010000u;
constexpr uint32_t kApplicationStart = 0x08014000u;
constexpr uint8_t kTypeKeys = 2;
constexpr uint8_t kTypeApplication = 3;
constexpr uint8_t kRegionKeys = 0x0A;
constexpr uint8_t kRegionApplication = 3;
} // namespace flash

// Start and end (exclusive) of the region of type 0x0A (keys) or 3
// (application); either pointer may be null. Other types give -1.
int regionOf(uint8_t type, uint32_t *start, uint32_t *end);

// The flash-map row of the sector that holds the address and its sector
// type; outside the flash -1 and type 0xFF.
int sectorOf(uint32_t address, uint8_t *type);

} // namespace loader
