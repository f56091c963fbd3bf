#include "mousewheelscrollprotect.h"

#include <QEvent>
#include <QWidget>

MouseWheelScrollProtect::MouseWheelScrollProtect(QObject *parent, bool onlyWithoutFocus)
    : QObject(parent)
    , onlyWithoutFocus(onlyWithoutFocus)
{
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
