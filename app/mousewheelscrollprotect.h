#pragma once

#include <QObject>

// Keeps the mouse wheel from changing an input: the wheel event is swallowed
// and left unaccepted, so the enclosing page scrolls instead. With
// `onlyWithoutFocus` the input still takes the wheel while it has the focus.
// An input watched with its own filter as child no longer takes the focus
// from the wheel (its WheelFocus policy becomes StrongFocus).
class MouseWheelScrollProtect : public QObject
{
    Q_OBJECT

public:
    MouseWheelScrollProtect(QObject *parent, bool onlyWithoutFocus);

protected:
    bool eventFilter(QObject *obj, QEvent *event) override;

private:
    bool onlyWithoutFocus;
};
