#include "mousewheelscrollprotect.h"

#include <QEvent>
#include <QWidget>

MouseWheelScrollProtect::MouseWheelScrollProtect(QObject *parent, bool onlyWithoutFocus)
    : QObject(parent)
    , onlyWithoutFocus(onlyWithoutFocus)
{
    // Spin and combo boxes take the focus from the wheel itself, before any
    // filter sees the event; the input would then always count as focused.
    // Focus by click and tab only.
    if (parent && parent->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(parent);
        if (widget->focusPolicy() == Qt::WheelFocus)
            widget->setFocusPolicy(Qt::StrongFocus);
    }
}

bool MouseWheelScrollProtect::eventFilter(QObject *obj, QEvent *event)
{
    if (obj && obj->isWidgetType() && event && event->type() == QEvent::Wheel) {
        auto *widget = static_cast<QWidget *>(obj);
        if (!onlyWithoutFocus || !widget->hasFocus()) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(obj, event);
}
