#pragma once

#include "basewidget.h"

// Stands in for the default configuration reset form until it is built.
class ResetDefaultConfig : public BaseWidget
{
    Q_OBJECT
public:
    explicit ResetDefaultConfig(QWidget *parent = nullptr) : BaseWidget(parent) {}

public slots:
    void translateUiSlot(QWidget *) override {}
};
