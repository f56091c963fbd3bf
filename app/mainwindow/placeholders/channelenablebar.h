#pragma once

#include "basewidget.h"

#include <cstdint>

// Stands in for the row of channel check buttons until it is built.
class ChannelEnableBar : public BaseWidget
{
    Q_OBJECT
public:
    explicit ChannelEnableBar(QWidget *parent = nullptr) : BaseWidget(parent) {}
    uint8_t getChannelMask() { return 0; }
    void setColorSource(QObject *) {}

public slots:
    void translateUiSlot(QWidget *) override {}
};
