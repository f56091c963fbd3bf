#include "graphpalette.h"

namespace GraphPalette {

QColor colorAt(int index)
{
    static const QRgb table[kSize] = {
        0xFF1F77B4, 0xFFFF7F0E, 0xFF2CA02C, 0xFF8C564B, 0xFF9467BD, 0xFFBCBD22, 0xFF17BECF,
    };
    const int i = ((index % kSize) + kSize) % kSize;
    return QColor::fromRgba(table[i]);
}

} // namespace GraphPalette
