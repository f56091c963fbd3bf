#include "flashmap.h"

namespace loader {

namespace {

struct FlashRow
{
    uint32_t start;
    uint8_t type;
};

constexpr FlashRow kFlashMap[] = {
    {0x08000000u, 1}, {0x08004000u, 1}, {0x08008000u, 1}, {0x0800C000u, 1}, {0x08010000u, 0x0A},
    {0x08014000u, 3}, {0x08018000u, 3}, {0x0801C000u, 3}, {0x08020000u, 3}, {0x08040000u, 3},
    {0x08080000u, 3}, {0x080C0000u, 3}, {0x08100000u, 0xFF},
};
constexpr int kRows = int(sizeof kFlashMap / sizeof kFlashMap[0]);

struct Region
{
    uint32_t type;
    uint32_t start;
    uint32_t end;
};

constexpr Region kRegions[] = {
    {1, 0x08000000u, 0x08010000u},
    {0x0A, 0x08010000u, 0x08014000u},
    {3, 0x08014000u, 0x08100000u},
};

} // namespace

int regionOf(uint8_t type, uint32_t *start, uint32_t *end)
{
    if (type != 0x0A && type != 3)
        return -1;
    for (const Region &r : kRegions) {
        if (r.type == type) {
            if (start)
                *start = r.start;
            if (end)
                *end = r.end;
            return 0;
        }
    }
    return -1;
}

int sectorOf(uint32_t address, uint8_t *type)
{
    if (address < kFlashMap[0].start || address >= kFlashMap[kRows - 1].start) {
        if (type)
            *type = 0xFF;
        return -1;
    }
    for (int i = 0; i + 1 < kRows; ++i) {
        if (address < kFlashMap[i + 1].start) {
            if (type)
                *type = kFlashMap[i].type;
            return i;
        }
    }
    if (type)
        *type = 0xFF;
    return -1;
}

} // namespace loader
