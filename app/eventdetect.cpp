#include "eventdetect.h"

#include <QDebug>
#include <QEvent>

EventDetect::EventDetect(int type, int mode, QObject *parent)
    : QObject(parent)
    , eventType(type)
    , mode(mode)
{
}

bool EventDetect::eventFilter(QObject *obj, QEvent *event)
{
    if (obj && obj->isWidgetType() && event && event->type() == eventType) {
        qDebug() << "Object Event detected" << obj;
        emit eventDetected(obj);
        if (mode == 1) {
            event->accept();
            return true;
        }
        if (mode == 2) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(obj, event);
}
