#pragma once

#include <QPoint>
#include <QVector>

// The pixels of a polyline one pixel wide, both ends of every segment
// included. Drawing curves from this list rather than through the paint
// engine's line stroker makes the picture a function of the segments alone:
// the stroker leaves out some segment ends depending on where a path turns,
// so two paths over the same pixels would not always light the same ones.
namespace PolylinePixels {

// Appends the pixels of the polyline (each once where segments join).
void append(QVector<QPoint> &out, const QPoint *points, int count);

} // namespace PolylinePixels
