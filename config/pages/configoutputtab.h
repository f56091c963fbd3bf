#pragma once

#include "basewidget.h"
#include "configrecords.h"

#include <cstdint>

namespace Ui {
class ConfigOutputTab;
}

// The output section of the channel page: the SKW limit of the digital
// output or the reference current of the analog output for the current
// channel, editable once a reference run has given the channel a reference
// SKW, with the measured reference SKW and suggested values beside them.
class ConfigOutputTab : public BaseWidget
{
    Q_OBJECT
public:
    explicit ConfigOutputTab(QWidget *parent = nullptr);
    ~ConfigOutputTab() override;
    int32_t channel() const { return channelIdx; }

    // The suggestions from the mapping's reference scale factor x 25.
    static int suggestedComparison(uint8_t factor, int16_t referenceSkw);
    static double suggestedCurrent(uint8_t factor, uint16_t scale);

signals:
    void contentChanged();

public slots:
    void updateConfigDevice(CFG_Device_Param_struct newcfgentry);
    void channelIdxchanged(int32_t idx);
    // Stores the value of the spin box that finished editing; only that field.
    void saveDeviceInfo();
    void on_stackedWidget_currentChanged(int index);
    void translateUiSlot(QWidget *ptr) override;

private:
    void save(bool current, bool limit);

    Ui::ConfigOutputTab *ui;
    int32_t channelIdx = 0;
};
