#include "graphpalette.h"

namespace GraphPalette {

quint32 colorAt(int index)
{
    static const quint32 table[kSize] = {
        0xFF1F77B4, 0xFFFF7F0E, 0xFF2CA02C, 0xFF8C564B, 0xFF9467BD, 0xFFBCBD22, 0xFF17BECF,
    };
    return table[((index % kSize) + kSize) % kSize];
}

} // namespace GraphPalette
