#pragma once

#include "basewidget.h"

// Stands in for the firmware update page until it is built.
class UpdateFirmware : public BaseWidget
{
    Q_OBJECT
public:
    explicit UpdateFirmware(QWidget *parent = nullptr) : BaseWidget(parent) {}

public slots:
    void translateUiSlot(QWidget *) override {}
};
