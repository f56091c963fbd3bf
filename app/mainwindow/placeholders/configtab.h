#pragma once

#include "basewidget.h"

#include <cstdint>

class SelectMapping;
class SelectSensor;

// Stands in for the configuration view until it is built. It already holds
// the two catalogue selection pages, which must exist before the catalogue
// is initialised.
class ConfigTab : public BaseWidget
{
    Q_OBJECT
public:
    explicit ConfigTab(QWidget *parent = nullptr);

signals:
    void enterDialog(QWidget *widget);
    void exitDialog();
    void showFBTile();
    void hideFBTile();
    void currentChannelchanged(int32_t Channel);

public slots:
    void HandletilePressedSlot(int32_t id);
    void translateUiSlot(QWidget *) override {}

private:
    SelectSensor *wdgSensor = nullptr;
    SelectMapping *wdgMapping = nullptr;
};
