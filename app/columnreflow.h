#pragma once

#include <QList>
#include <QObject>

class QGridLayout;
class QLayoutItem;
class QWidget;

// Lays the items of two-column grids out in one column while the page that
// holds them is narrower than the two columns need, and in two again once
// they fit, so that a form of paired fields fits a narrow window (or a
// longer language) without scrolling sideways. The items keep their order:
// left before right, row by row.
class ColumnReflow : public QObject
{
    Q_OBJECT
public:
    // Watches `page` (the grids' ancestor, whose width decides) and owns
    // nothing but itself; a child of `page`.
    ColumnReflow(QWidget *page, const QList<QGridLayout *> &grids);

    // Whether `grid` shows one column now.
    bool isSingleColumn(const QGridLayout *grid) const;
    // Decides for every grid from the page's present width.
    void reflow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Cell
    {
        QLayoutItem *item;
        int row;
        int column;
        int rowSpan;
        int columnSpan;
    };
    struct Grid
    {
        QGridLayout *layout;
        QList<Cell> cells; // in reading order
        bool single = false;
    };
    int twoColumnWidth(const Grid &grid) const;
    int roomFor(const Grid &grid) const;
    void place(Grid &grid, bool single);

    QWidget *page;
    QList<Grid> grids;
};
