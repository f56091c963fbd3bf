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
}

bool VerticalScrollArea::eventFilter(QObject *obj, QEvent *event)
{
    if (obj == this && event && event->type() == QEvent::Resize && widget()) {
        int w = width();
        for (QObject *child : children()) {
            if (child->isWidgetType())
                w = qMax(w, static_cast<QWidget *>(child)->sizeHint().width());
        }
        widget()->setMinimumWidth(w);
        widget()->setMaximumWidth(w);
        widget()->adjustSize();
    }
    return QScrollArea::eventFilter(obj, event);
}
