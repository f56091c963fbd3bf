#include "polylinepixels.h"

#include <cstdlib>

namespace PolylinePixels {

namespace {

// Bresenham from a to b; the start pixel only when asked.
void segment(QVector<QPoint> &out, QPoint a, QPoint b, bool withStart)
{
    const int dx = std::abs(b.x() - a.x());
    const int dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1;
    const int sy = a.y() < b.y() ? 1 : -1;
    int err = dx + dy;
    int x = a.x();
    int y = a.y();
    if (withStart)
        out.append(a);
    while (x != b.x() || y != b.y()) {
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
        out.append(QPoint(x, y));
    }
}

} // namespace

void append(QVector<QPoint> &out, const QPoint *points, int count)
{
    if (count <= 0)
        return;
    out.append(points[0]);
    for (int i = 1; i < count; ++i)
        segment(out, points[i - 1], points[i], false);
}

} // namespace PolylinePixels
