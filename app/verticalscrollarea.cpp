#include "verticalscrollarea.h"

#include <QEvent>
#include <QScrollBar>

VerticalScrollArea::VerticalScrollArea(QWidget *parent)
    : QScrollArea(parent)
{
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    installEventFilter(this);
    // The vertical scroll bar coming or going changes the viewport's width
    // without resizing the area.
    viewport()->installEventFilter(this);
}

bool VerticalScrollArea::eventFilter(QObject *obj, QEvent *event)
{
    if ((obj == this || obj == viewport()) && event && event->type() == QEvent::Resize && widget())
        holdContentWidth();
    return QScrollArea::eventFilter(obj, event);
}

void VerticalScrollArea::holdContentWidth()
{
    // The room beside the vertical scroll bar, when it shows: held at the
    // area's own width, the content was wider than what one sees by the
    // bar's width and scrolled sideways to bring a widget into view.
    int w = maximumViewportSize().width();
    if (verticalScrollBar()->isVisibleTo(this))
        w -= verticalScrollBar()->sizeHint().width();
    for (QObject *child : children()) {
        if (child->isWidgetType() && child != viewport())
            w = qMax(w, static_cast<QWidget *>(child)->sizeHint().width());
    }
    QWidget *content = widget();
    if (content->minimumWidth() == w && content->maximumWidth() == w)
        return;
    content->setMinimumWidth(w);
    content->setMaximumWidth(w);
    content->adjustSize();
}
