#pragma once

#include <QSize>

class QAbstractItemView;
class QWidget;

// Lets a dialog fit the room the dialog page gives it. A list in a dialog
// always keeps room for its header and one whole row. Where the dialog is
// still larger than the room (a large display scale on a small screen), it
// gives way in this order: its lists become narrower (they scroll sideways
// instead), texts too long for one line wrap, and the spacing and margins
// of its layouts shrink, down to none. Each fit starts again from the
// dialog as it was built, so a larger room gives back what a smaller one
// took.
namespace dialogfit {

// The height `view` needs to show its header and one whole row, and its
// horizontal scroll bar where its columns may be wider than it is.
int oneRowHeight(const QAbstractItemView *view);

// The least size `dialog` can be laid out in when it is `width` wide (or
// as wide as it must be): its wrapped texts as high as that width makes
// them, everything else at its minimum.
QSize leastSize(const QWidget *dialog, int width);

// What a dialog gave up to fit, in the order it gives way.
enum class Fit {
    AsBuilt,   // it fits as it was built (its lists keeping one whole row)
    Narrowed,  // its lists became narrower
    Wrapped,   // and texts wrap
    Tightened, // and the spacing and margins of its layouts shrank
    TooLarge,  // it does not fit whatever it gives up
};

// Fits `dialog` into `room`: what it had to give up.
Fit fit(QWidget *dialog, const QSize &room);

// The dialog as it was built, its lists keeping one whole row: what the
// dialog needs before it gives anything up.
void natural(QWidget *dialog);

} // namespace dialogfit
