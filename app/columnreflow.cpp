#include "columnreflow.h"

#include <QEvent>
#include <QGridLayout>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <algorithm>

ColumnReflow::ColumnReflow(QWidget *page, const QList<QGridLayout *> &layouts)
    : QObject(page)
    , page(page)
{
    for (QGridLayout *layout : layouts) {
        if (!layout)
            continue;
        Grid grid;
        grid.layout = layout;
        for (int n = 0; n < layout->count(); ++n) {
            Cell cell{layout->itemAt(n), 0, 0, 1, 1};
            layout->getItemPosition(n, &cell.row, &cell.column, &cell.rowSpan, &cell.columnSpan);
            grid.cells << cell;
        }
        std::stable_sort(grid.cells.begin(), grid.cells.end(), [](const Cell &a, const Cell &b) {
            return a.row != b.row ? a.row < b.row : a.column < b.column;
        });
        grids << grid;
    }
    page->installEventFilter(this);
}

bool ColumnReflow::isSingleColumn(const QGridLayout *layout) const
{
    for (const Grid &grid : grids) {
        if (grid.layout == layout)
            return grid.single;
    }
    return false;
}

bool ColumnReflow::eventFilter(QObject *watched, QEvent *event)
{
    // A new width; new texts change what the columns need once they are set.
    if (watched == page && event->type() == QEvent::Resize)
        reflow();
    else if (watched == page && event->type() == QEvent::LanguageChange)
        QTimer::singleShot(0, this, &ColumnReflow::reflow);
    return QObject::eventFilter(watched, event);
}

int ColumnReflow::twoColumnWidth(const Grid &grid) const
{
    int columns[2] = {0, 0};
    int spanning = 0;
    for (const Cell &cell : grid.cells) {
        const int width = cell.item->minimumSize().width();
        if (cell.columnSpan > 1)
            spanning = qMax(spanning, width);
        else if (cell.column >= 0 && cell.column < 2)
            columns[cell.column] = qMax(columns[cell.column], width);
    }
    int spacing = grid.layout->horizontalSpacing();
    if (spacing < 0)
        spacing = page->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
    const QMargins m = grid.layout->contentsMargins();
    return qMax(spanning, columns[0] + qMax(0, spacing) + columns[1]) + m.left() + m.right();
}

int ColumnReflow::roomFor(const Grid &grid) const
{
    // The page's width less the margins of the layouts between it and the
    // grid (a grid on a hidden page of a stack counts as well).
    int room = page->width();
    QWidget *w = grid.layout->parentWidget();
    while (w && w != page) {
        w = w->parentWidget();
        if (w && w->layout()) {
            const QMargins m = w->layout()->contentsMargins();
            room -= m.left() + m.right();
        }
    }
    return room;
}

void ColumnReflow::reflow()
{
    for (Grid &grid : grids) {
        const bool single = twoColumnWidth(grid) > roomFor(grid);
        if (single != grid.single)
            place(grid, single);
    }
}

void ColumnReflow::place(Grid &grid, bool single)
{
    grid.single = single;
    QGridLayout *layout = grid.layout;
    while (layout->count() > 0)
        layout->takeAt(0);
    int row = 0;
    for (const Cell &cell : grid.cells) {
        if (single) {
            layout->addItem(cell.item, row, 0, cell.rowSpan, 1);
            row += cell.rowSpan;
        } else {
            layout->addItem(cell.item, cell.row, cell.column, cell.rowSpan, cell.columnSpan);
        }
    }
}
