#include "dialogfit.h"

#include <QAbstractItemView>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTreeView>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

// What a dialog was built with, kept on the dialog by its first fit, so
// that every fit starts from it.
class Memo : public QObject
{
public:
    struct Spacing
    {
        QPointer<QLayout> layout;
        int horizontal = -1;
        int vertical = -1;
        QMargins margins;
    };
    struct Minimum
    {
        QPointer<QAbstractItemView> view;
        QSize size;
    };
    struct Wrap
    {
        QPointer<QLabel> label;
        bool on = false;
        QSize minimum;
    };
    // A part with a layout and a minimum size of its own (a frame around a
    // list and a field, say), deepest first.
    struct Floor
    {
        QPointer<QWidget> part;
        QSize size;
    };

    explicit Memo(QWidget *dialog);

    QList<Spacing> layouts;
    QList<Minimum> views;
    QList<Wrap> labels;
    QList<Floor> floors;
};

const char kMemoName[] = "dialogfitMemo";

// Parts of the dialog itself: not the pop-up lists of its combo boxes,
// which are windows of their own, nor the headers of its tables.
template <typename T>
QList<T *> partsOf(QWidget *dialog)
{
    QList<T *> parts;
    for (T *part : dialog->findChildren<T *>()) {
        if (part->window() == dialog->window() && !qobject_cast<QHeaderView *>(part))
            parts << part;
    }
    return parts;
}

int horizontalSpacingOf(const QLayout *layout)
{
    if (auto *grid = qobject_cast<const QGridLayout *>(layout))
        return grid->horizontalSpacing();
    if (auto *form = qobject_cast<const QFormLayout *>(layout))
        return form->horizontalSpacing();
    return layout->spacing();
}

int verticalSpacingOf(const QLayout *layout)
{
    if (auto *grid = qobject_cast<const QGridLayout *>(layout))
        return grid->verticalSpacing();
    if (auto *form = qobject_cast<const QFormLayout *>(layout))
        return form->verticalSpacing();
    return layout->spacing();
}

Memo::Memo(QWidget *dialog)
    : QObject(dialog)
{
    setObjectName(QLatin1String(kMemoName));
    QList<QLayout *> all;
    if (dialog->layout())
        all << dialog->layout();
    for (QWidget *w : partsOf<QWidget>(dialog)) {
        if (w->layout())
            all << w->layout();
    }
    for (QLayout *layout : all) {
        // Nested layouts (a row inside a grid) have no widget of their own.
        QList<QLayout *> nested{layout};
        for (int i = 0; i < nested.size(); ++i) {
            QLayout *l = nested.at(i);
            layouts.append({l, horizontalSpacingOf(l), verticalSpacingOf(l), l->contentsMargins()});
            for (int n = 0; n < l->count(); ++n) {
                if (QLayout *inner = l->itemAt(n)->layout())
                    nested << inner;
            }
        }
    }
    for (QAbstractItemView *view : partsOf<QAbstractItemView>(dialog))
        views.append({view, view->minimumSize()});
    for (QLabel *label : partsOf<QLabel>(dialog))
        labels.append({label, label->wordWrap(), label->minimumSize()});
    QList<QPair<int, QWidget *>> framed;
    for (QWidget *w : partsOf<QWidget>(dialog)) {
        if (w->layout() && !w->minimumSize().isNull()) {
            int depth = 0;
            for (QWidget *p = w; p && p != dialog; p = p->parentWidget())
                ++depth;
            framed.append({depth, w});
        }
    }
    std::stable_sort(framed.begin(), framed.end(),
                     [](const QPair<int, QWidget *> &a, const QPair<int, QWidget *> &b) { return a.first > b.first; });
    for (const auto &f : framed)
        floors.append({f.second, f.second->minimumSize()});
}

Memo *memoOf(QWidget *dialog)
{
    if (auto *memo = dynamic_cast<Memo *>(dialog->findChild<QObject *>(QLatin1String(kMemoName),
                                                                       Qt::FindDirectChildrenOnly)))
        return memo;
    return new Memo(dialog);
}

int times(int value, double t)
{
    return value < 0 ? value : int(std::lround(value * t));
}

// Spacing and margins of every layout at `t` times what they were built
// with (1.0 gives them back).
void spaceOut(Memo *memo, double t)
{
    for (const Memo::Spacing &s : qAsConst(memo->layouts)) {
        QLayout *layout = s.layout;
        if (!layout)
            continue;
        const QMargins m(times(s.margins.left(), t), times(s.margins.top(), t), times(s.margins.right(), t),
                         times(s.margins.bottom(), t));
        if (layout->contentsMargins() != m)
            layout->setContentsMargins(m);
        const int h = times(s.horizontal, t);
        const int v = times(s.vertical, t);
        if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
            if (h >= 0 && grid->horizontalSpacing() != h)
                grid->setHorizontalSpacing(h);
            if (v >= 0 && grid->verticalSpacing() != v)
                grid->setVerticalSpacing(v);
        } else if (auto *form = qobject_cast<QFormLayout *>(layout)) {
            if (h >= 0 && form->horizontalSpacing() != h)
                form->setHorizontalSpacing(h);
            if (v >= 0 && form->verticalSpacing() != v)
                form->setVerticalSpacing(v);
        } else if (h >= 0 && layout->spacing() != h) {
            layout->setSpacing(h);
        }
    }
}

void setMinimum(QWidget *widget, const QSize &size)
{
    if (widget->minimumSize() != size)
        widget->setMinimumSize(size);
}

// Every list as wide as it was built and high enough for one whole row.
void keepOneRow(Memo *memo)
{
    for (const Memo::Minimum &m : qAsConst(memo->views)) {
        if (QAbstractItemView *view = m.view) {
            setMinimum(view, m.size);
            setMinimum(view, QSize(m.size.width(), qMax(m.size.height(), dialogfit::oneRowHeight(view))));
        }
    }
}

void restore(Memo *memo)
{
    spaceOut(memo, 1.0);
    for (const Memo::Floor &f : qAsConst(memo->floors)) {
        if (f.part)
            setMinimum(f.part, f.size);
    }
    for (const Memo::Wrap &w : qAsConst(memo->labels)) {
        if (w.label && w.label->wordWrap() != w.on)
            w.label->setWordWrap(w.on);
        if (w.label)
            setMinimum(w.label, w.minimum);
    }
    keepOneRow(memo);
}

// A layout keeps the sizes of its items until they say they changed; a
// nested part says so only to the layout of the widget it is in, at once,
// and to those above later. Measured at once, every part has to say so.
void refresh(QWidget *dialog)
{
    // Layouts nested in a layout (a row inside a grid) keep theirs too.
    for (const Memo::Spacing &s : qAsConst(memoOf(dialog)->layouts)) {
        if (s.layout)
            s.layout->invalidate();
    }
    for (QWidget *part : partsOf<QWidget>(dialog))
        part->updateGeometry();
    // A minimum size of its own stands for the layout's: a part given one
    // smaller than what its contents need would squeeze them when the
    // dialog is short of room. It keeps at least what they need.
    for (const Memo::Floor &f : qAsConst(memoOf(dialog)->floors)) {
        if (f.part)
            setMinimum(f.part, f.size.expandedTo(f.part->layout()->totalMinimumSize()));
    }
    if (QLayout *layout = dialog->layout())
        layout->invalidate();
}

bool fits(QWidget *dialog, const QSize &room)
{
    refresh(dialog);
    const QSize least = dialogfit::leastSize(dialog, room.width());
    return least.width() <= room.width() && least.height() <= room.height();
}

// The width the columns of `view` need at least.
int columnsWidth(const QAbstractItemView *view)
{
    const QHeaderView *header = nullptr;
    if (auto *table = qobject_cast<const QTableView *>(view))
        header = table->horizontalHeader();
    else if (auto *tree = qobject_cast<const QTreeView *>(view))
        header = tree->header();
    if (!header || header->count() == 0)
        return 0;
    int width = 0;
    for (int n = 0; n < header->count(); ++n) {
        if (header->isSectionHidden(n))
            continue;
        width += header->sectionResizeMode(n) == QHeaderView::Stretch ? header->minimumSectionSize()
                                                                       : header->sectionSize(n);
    }
    return width;
}

} // namespace

namespace dialogfit {

int oneRowHeight(const QAbstractItemView *view)
{
    int height = 2 * view->frameWidth();
    int row = -1;
    const QAbstractItemModel *model = view->model();
    const bool rows = model && model->rowCount(view->rootIndex()) > 0;
    if (auto *table = qobject_cast<const QTableView *>(view)) {
        if (!table->horizontalHeader()->isHidden())
            height += table->horizontalHeader()->sizeHint().height();
        row = rows ? table->rowHeight(0) : table->verticalHeader()->defaultSectionSize();
    } else {
        if (auto *tree = qobject_cast<const QTreeView *>(view)) {
            if (!tree->header()->isHidden())
                height += tree->header()->sizeHint().height();
        }
        if (rows)
            row = view->sizeHintForRow(0);
    }
    if (row <= 0)
        row = view->fontMetrics().height() + 2;
    height += row;
    // Columns wider than the list may become: the bar to reach them.
    const int inner = qMax(view->minimumWidth(), view->minimumSizeHint().width()) - 2 * view->frameWidth()
                      - (view->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff
                             ? 0
                             : view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view));
    if (view->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn
        || (view->horizontalScrollBarPolicy() == Qt::ScrollBarAsNeeded && columnsWidth(view) > qMax(0, inner)))
        height += view->horizontalScrollBar()->sizeHint().height();
    return height;
}

QSize leastSize(const QWidget *dialog, int width)
{
    QSize least = dialog->minimumSizeHint().expandedTo(dialog->minimumSize());
    QLayout *layout = dialog->layout();
    if (layout && layout->hasHeightForWidth())
        least.setHeight(qMax(least.height(), layout->minimumHeightForWidth(qMax(width, least.width()))));
    return least;
}

void natural(QWidget *dialog)
{
    restore(memoOf(dialog));
    refresh(dialog);
}

Fit fit(QWidget *dialog, const QSize &room)
{
    Memo *memo = memoOf(dialog);
    restore(memo);
    if (fits(dialog, room))
        return Fit::AsBuilt;

    // Lists narrower than they were built: they scroll sideways.
    refresh(dialog);
    const int excess = leastSize(dialog, room.width()).width() - room.width();
    if (excess > 0) {
        for (const Memo::Minimum &m : qAsConst(memo->views)) {
            QAbstractItemView *view = m.view;
            if (!view)
                continue;
            const int floor = view->minimumSizeHint().width();
            if (m.size.width() > floor)
                setMinimum(view, QSize(qMax(floor, m.size.width() - excess), view->minimumHeight()));
        }
        for (const Memo::Minimum &m : qAsConst(memo->views)) {
            if (QAbstractItemView *view = m.view)
                setMinimum(view, QSize(view->minimumWidth(), qMax(m.size.height(), oneRowHeight(view))));
        }
        if (fits(dialog, room))
            return Fit::Narrowed;
    }

    // Texts of several words wrap where one line is wider than the room:
    // each keeps as much of its line as the room leaves (a wrapped label
    // asks for a narrow block of lines of its own accord).
    refresh(dialog);
    const int wider = leastSize(dialog, room.width()).width() - room.width();
    if (wider > 0) {
        QList<QLabel *> wrapped;
        for (const Memo::Wrap &w : qAsConst(memo->labels)) {
            QLabel *label = w.label;
            if (!label || w.on || !label->text().trimmed().contains(QLatin1Char(' ')))
                continue;
            const int line = label->sizeHint().width();
            label->setWordWrap(true);
            const int width = qMax(label->minimumSizeHint().width(), line - wider);
            // One that may not grow higher than its line stays one line.
            if (label->heightForWidth(width) > label->maximumHeight()) {
                label->setWordWrap(false);
                continue;
            }
            // As high as its lines at that width, also where what holds it
            // asks for no more than one line's height (a stack of pages).
            setMinimum(label, QSize(width, qMax(w.minimum.height(), label->heightForWidth(width))));
            wrapped << label;
        }
        if (fits(dialog, room))
            return Fit::Wrapped;
        // Several texts side by side: each wraps as narrow as it can.
        refresh(dialog);
        if (leastSize(dialog, room.width()).width() > room.width()) {
            for (const Memo::Wrap &w : qAsConst(memo->labels)) {
                if (wrapped.contains(w.label))
                    setMinimum(w.label, w.minimum);
            }
            if (fits(dialog, room))
                return Fit::Wrapped;
        }
    }

    // Last, the room between its parts.
    for (double t : {0.75, 0.5, 0.25, 0.0}) {
        spaceOut(memo, t);
        if (fits(dialog, room))
            return Fit::Tightened;
    }
    // Too large whatever it gives up: it scrolls. The room between its parts
    // shrinks only as far as its height needs (a dialog too wide for the
    // room keeps its look where it is whole in height).
    for (double t : {1.0, 0.75, 0.5, 0.25, 0.0}) {
        spaceOut(memo, t);
        refresh(dialog);
        if (leastSize(dialog, room.width()).height() <= room.height())
            break;
    }
    return Fit::TooLarge;
}

} // namespace dialogfit
