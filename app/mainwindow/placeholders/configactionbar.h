#pragma once

#include "basewidget.h"

class ConfigTab;

// Stands in for the configuration action bar until it is built.
class ConfigActionBar : public BaseWidget
{
    Q_OBJECT
public:
    explicit ConfigActionBar(QWidget *parent = nullptr) : BaseWidget(parent) {}
    void setConfigTab(ConfigTab *tab) { configTab = tab; }

public slots:
    void translateUiSlot(QWidget *) override {}

private:
    ConfigTab *configTab = nullptr;
};
