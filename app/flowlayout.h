#pragma once

#include <QLayout>
#include <QList>

// Lays its widgets out in a row and starts a new row where the next one
// would not fit, so that a row of buttons stays whole in a narrow window
// instead of being cut at its edge. The space left in a row is shared out
// among its widgets (only among those that expand sideways, where a row has
// any), so that a row that fits looks like a box layout; with
// Qt::AlignRight set on the layout, the widgets keep their size and each row
// is right-aligned instead. Once laid out, and while its holder is shown, its
// minimum height is that of the rows at its width, so that the holder keeps
// the room for every row.
class FlowLayout : public QLayout
{
    Q_OBJECT
public:
    explicit FlowLayout(QWidget *parent = nullptr);
    ~FlowLayout() override;

    void addItem(QLayoutItem *item) override;
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;

    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect &rect) override;

    // The number of rows at the present geometry.
    int rowCount() const { return rows; }
    // Items of one kind (the channel tabs): every item as wide as the
    // widest, rows as even as they can be (seven items in four and three,
    // not five and two) and the items of a wrapped row under those above,
    // instead of a short last row spread over the whole width.
    void setUniformColumns(bool on);
    // Asks for the width of all items in one row as its minimum where that
    // is no more than `width` (the room the screen gives the layout), so
    // that the window grows to keep the row whole instead of wrapping it;
    // where the row needs more, the minimum is the widest item as before
    // and the row wraps. 0 (the default) never asks for the row.
    void setOneRowUpTo(int width);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Tells the holder's parents when the minimum height changed (the rows
    // at a new width, or the holder shown or hidden).
    void noteMinimum();
    // Places the items in `rect` (or only measures when `apply` is false)
    // and returns the height the rows take, margins included.
    int arrange(const QRect &rect, bool apply, int *rowsUsed) const;

    int arrangeColumns(const QRect &rect, bool apply, int *rowsUsed) const;

    QList<QLayoutItem *> items;
    int rows = 0;
    bool uniform = false;
    int oneRowLimit = 0;
    // The width of the last layout pass (0 before the first), the minimum
    // height last reported, and whether the holder is watched.
    int laidOutWidth = 0;
    int reportedMinimum = -1;
    bool watching = false;
};
