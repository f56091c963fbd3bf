#include "flowlayout.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

int itemWidth(const QLayoutItem *item)
{
    return qMax(item->sizeHint().width(), item->minimumSize().width());
}

int itemHeight(const QLayoutItem *item)
{
    return qMax(item->sizeHint().height(), item->minimumSize().height());
}

} // namespace

FlowLayout::FlowLayout(QWidget *parent)
    : QLayout(parent)
{
}

FlowLayout::~FlowLayout()
{
    while (QLayoutItem *item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem *item)
{
    items.append(item);
    invalidate();
}

int FlowLayout::count() const
{
    return items.size();
}

QLayoutItem *FlowLayout::itemAt(int index) const
{
    return items.value(index, nullptr);
}

QLayoutItem *FlowLayout::takeAt(int index)
{
    if (index < 0 || index >= items.size())
        return nullptr;
    QLayoutItem *item = items.takeAt(index);
    invalidate();
    return item;
}

Qt::Orientations FlowLayout::expandingDirections() const
{
    return Qt::Horizontal;
}

bool FlowLayout::hasHeightForWidth() const
{
    return true;
}

int FlowLayout::heightForWidth(int width) const
{
    return arrange(QRect(0, 0, width, 0), false, nullptr);
}

QSize FlowLayout::minimumSize() const
{
    // As narrow as the widest single item: every item on a row of its own.
    QSize size;
    for (const QLayoutItem *item : items) {
        if (!item->isEmpty())
            size = size.expandedTo(QSize(itemWidth(item), itemHeight(item)));
    }
    const QMargins m = contentsMargins();
    size += QSize(m.left() + m.right(), m.top() + m.bottom());
    if (oneRowLimit > 0) {
        const int row = sizeHint().width();
        if (row <= oneRowLimit)
            size.setWidth(qMax(size.width(), row));
    }
    // Once laid out and shown, as high as the rows take at the width it was
    // given: whatever holds the layout then keeps the room for every row.
    // Only asked for the height the width gives, a holder inside a box that
    // is short of room was squeezed to one row's height, and the rows that
    // wrapped were cut off. A holder not shown (on a page of a stack that
    // is not the current one) claims no room for its rows.
    if (laidOutWidth > 0 && parentWidget() && parentWidget()->isVisible())
        size.setHeight(qMax(size.height(), heightForWidth(laidOutWidth)));
    return size;
}

bool FlowLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        noteMinimum();
    return QLayout::eventFilter(watched, event);
}

void FlowLayout::noteMinimum()
{
    QWidget *holder = parentWidget();
    if (!holder)
        return;
    if (!watching) {
        holder->installEventFilter(this);
        watching = true;
    }
    const int height = minimumSize().height();
    if (height == reportedMinimum)
        return;
    reportedMinimum = height;
    // The holder's parents are asked for the new room once the present
    // layout pass is over.
    invalidate();
    QTimer::singleShot(0, holder, [holder] { holder->updateGeometry(); });
}

QSize FlowLayout::sizeHint() const
{
    // All items on one row.
    int width = 0;
    int height = 0;
    int shown = 0;
    for (const QLayoutItem *item : items) {
        if (item->isEmpty())
            continue;
        width += itemWidth(item);
        height = qMax(height, itemHeight(item));
        ++shown;
    }
    if (shown > 1)
        width += (shown - 1) * qMax(0, spacing());
    const QMargins m = contentsMargins();
    return QSize(width + m.left() + m.right(), height + m.top() + m.bottom());
}

void FlowLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true, &rows);
    // The rows' height at the new width is the holder's new minimum.
    laidOutWidth = rect.width();
    noteMinimum();
}

void FlowLayout::setOneRowUpTo(int width)
{
    oneRowLimit = qMax(0, width);
    invalidate();
}

void FlowLayout::setUniformColumns(bool on)
{
    uniform = on;
    invalidate();
}

int FlowLayout::arrangeColumns(const QRect &rect, bool apply, int *rowsUsed) const
{
    const QMargins m = contentsMargins();
    const QRect room = rect.marginsRemoved(m);
    const int gap = qMax(0, spacing());
    QList<QLayoutItem *> shown;
    int cell = 0;
    int height = 0;
    for (QLayoutItem *item : items) {
        if (item->isEmpty())
            continue;
        shown << item;
        cell = qMax(cell, itemWidth(item));
        height = qMax(height, itemHeight(item));
    }
    const int n = shown.size();
    if (n == 0) {
        if (rowsUsed)
            *rowsUsed = 0;
        return m.top() + m.bottom();
    }
    const int fit = qBound(1, (room.width() + gap) / (cell + gap), n);
    const int rowCount = (n + fit - 1) / fit;
    const int columns = (n + rowCount - 1) / rowCount;
    if (apply) {
        const int width = qMax(cell, (room.width() - (columns - 1) * gap) / columns);
        for (int i = 0; i < n; ++i) {
            const int row = i / columns;
            const int column = i % columns;
            shown.at(i)->setGeometry(QRect(room.x() + column * (width + gap), room.y() + row * (height + gap),
                                           width, height));
        }
    }
    if (rowsUsed)
        *rowsUsed = rowCount;
    return rowCount * height + (rowCount - 1) * gap + m.top() + m.bottom();
}

int FlowLayout::arrange(const QRect &rect, bool apply, int *rowsUsed) const
{
    if (uniform)
        return arrangeColumns(rect, apply, rowsUsed);
    const QMargins m = contentsMargins();
    const QRect room = rect.marginsRemoved(m);
    const int gap = qMax(0, spacing());
    int y = room.y();
    int rowCount = 0;
    int index = 0;
    while (index < items.size()) {
        // The items of this row: at least one, however narrow the room.
        QList<QLayoutItem *> row;
        int used = 0;
        int height = 0;
        for (; index < items.size(); ++index) {
            QLayoutItem *item = items.at(index);
            if (item->isEmpty())
                continue;
            const int width = itemWidth(item);
            const int needed = row.isEmpty() ? width : used + gap + width;
            if (!row.isEmpty() && needed > room.width())
                break;
            row.append(item);
            used = needed;
            height = qMax(height, itemHeight(item));
        }
        if (row.isEmpty())
            break;
        ++rowCount;
        if (apply) {
            // The rest of the row's width shared out, the odd pixels to the
            // first items; a right-aligned layout keeps it on the left.
            const int spare = qMax(0, room.width() - used);
            const bool right = alignment() & Qt::AlignRight;
            // Items that expand sideways, where a row has any, take all of it.
            QList<QLayoutItem *> takers;
            for (QLayoutItem *item : row) {
                if (item->expandingDirections() & Qt::Horizontal)
                    takers.append(item);
            }
            if (takers.isEmpty())
                takers = row;
            int x = right ? room.x() + spare : room.x();
            for (int n = 0, t = 0; n < row.size(); ++n) {
                int extra = 0;
                if (!right && takers.contains(row.at(n))) {
                    extra = spare / takers.size() + (t < spare % takers.size() ? 1 : 0);
                    ++t;
                }
                const int width = itemWidth(row.at(n)) + extra;
                row.at(n)->setGeometry(QRect(x, y, width, height));
                x += width + gap;
            }
        }
        y += height + gap;
    }
    if (rowsUsed)
        *rowsUsed = rowCount;
    const int contentHeight = rowCount ? y - gap - room.y() : 0;
    return contentHeight + m.top() + m.bottom();
}
