#pragma once

#include "basewidget.h"

// Stands in for the network settings page until it is built.
class ConfigConnectParams : public BaseWidget
{
    Q_OBJECT
public:
    explicit ConfigConnectParams(QWidget *parent = nullptr) : BaseWidget(parent) {}

public slots:
    void translateUiSlot(QWidget *) override {}
};
