#pragma once

#include "basewidget.h"

#include <cstdint>

// Stands in for the catalogue selection page of the channel page until it
// is built. Like the real page it listens for the catalogue's initcomplete
// from its construction on.
class SelectMapping : public BaseWidget
{
    Q_OBJECT
public:
    explicit SelectMapping(QWidget *parent = nullptr);
    bool modelsReady() const { return ready; }

public slots:
    virtual void currentChannelchanged(uint8_t channel);
    void translateUiSlot(QWidget *) override {}

private:
    bool ready = false;
};
