#pragma once

#include <QColor>
#include <QString>

#include "basewidget.h"

class QGraphicsColorizeEffect;

namespace Ui {
class valueBar;
}

// A captioned vertical bar that shows one value against a range, with the
// range's minimum, middle and maximum beside it and the value as a number.
// A value above the maximum gets a red border round the number.
class ValueBar : public BaseWidget
{
    Q_OBJECT

public:
    explicit ValueBar(QWidget *parent = nullptr);
    ~ValueBar() override;

    void setRange(int min, int max);
    void setTitle(const QString &title);
    void setColor(const QColor &color);
    // Shows the value; the bar itself is clamped to the range.
    void setValue(int value);
    // false hides the number and empties the bar.
    void setValueShown(bool shown);

public slots:
    void translateUiSlot(QWidget *ptr) override;

private:
    Ui::valueBar *ui;
    QGraphicsColorizeEffect *m_effect = nullptr;
};
