#pragma once

#include <QObject>

class TormaveldtBox;

// Installed on every child of one TormaveldtBox: moves the box's title
// between the group box and the placeholder of a line edit as the focus
// comes and goes, and keeps the box's childHasFocus property up to date.
class ChildFocusEventFilter : public QObject
{
    Q_OBJECT

public:
    explicit ChildFocusEventFilter(TormaveldtBox *box);

protected:
    bool eventFilter(QObject *child, QEvent *event) override;

private:
    TormaveldtBox *box;
};
