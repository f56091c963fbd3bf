#pragma once

#include <QScrollArea>

// Scroll area that scrolls vertically only: its content widget is held at
// the width one sees of it, beside the vertical scroll bar when that shows
// (or at the widest size hint of the area's own child widgets).
class VerticalScrollArea : public QScrollArea
{
    Q_OBJECT

public:
    explicit VerticalScrollArea(QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *obj, QEvent *event) override;

private:
    void holdContentWidth();
};
