#pragma once

#include "basewidget.h"

// Stands in for the device log page until it is built.
class LogTab : public BaseWidget
{
    Q_OBJECT
public:
    explicit LogTab(QWidget *parent = nullptr) : BaseWidget(parent) {}

public slots:
    void on_btnGetLog_clicked() {}
    void translateUiSlot(QWidget *) override {}
};
