#pragma once

#include "basewidget.h"

// Stands in for the network reset form until it is built.
class ResetIpWidget : public BaseWidget
{
    Q_OBJECT
public:
    explicit ResetIpWidget(QWidget *parent = nullptr) : BaseWidget(parent) {}

public slots:
    void translateUiSlot(QWidget *) override {}
};
