#pragma once

#include <QObject>

// Event filter that reports one event type of the widget it is installed on.
// Mode 0 passes the event on, 1 accepts and swallows it, 2 ignores and
// swallows it. Create it with the watched widget as parent.
class EventDetect : public QObject
{
    Q_OBJECT

public:
    EventDetect(int type, int mode, QObject *parent = nullptr);

signals:
    void eventDetected(QObject *src);

protected:
    bool eventFilter(QObject *obj, QEvent *event) override;

private:
    int eventType;
    int mode;
};
