#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Keeps windows within the screen's available area. The display scale sets
// the sizes of texts and controls; the window itself never grows past the
// screen, so every control (above all the way back to another scale) stays
// reachable, and what is larger scrolls inside.
namespace screenfit {

// The available area of the screen `widget` is on (the primary screen when
// it has none yet). KORVANTIS_SCREEN="<width>x<height>" stands in for it at
// the screen's top-left corner: a screen of that size for runs on the
// offscreen platform, whose screen is always 800 x 600.
QRect availableArea(const QWidget *widget);

// `wanted`, no larger than `area`.
QSize fittedSize(const QSize &wanted, const QRect &area);

// The top-left corner that keeps a window of `size` inside `area`: `position`
// where it already fits, else moved in (the top-left corner wins).
QPoint fittedPosition(const QPoint &position, const QSize &size, const QRect &area);

// Resizes the top-level `window` to `wanted`, bounded by the available area,
// and moves it inside that area.
void fitWindow(QWidget *window, const QSize &wanted);

} // namespace screenfit
