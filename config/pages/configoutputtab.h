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
    // Hands a limit or current typed but not yet confirmed to the model, for
    // the channel it was typed for, as Enter would. False when the model
    // refused it.
    bool commitPendingEdits();

    // The suggestions from the mapping's reference scale factor x 25.
    static int suggestedComparison(uint8_t factor, int16_t referenceSkw);
    static double suggestedCurrent(uint8_t factor, uint16_t scale);

signals:
    void contentChanged();
    // A typed limit or current was refused by the model (which reports it)
    // as the focus left its box.
    void editRefused();

public slots:
    void updateConfigDevice(CFG_Device_Param_struct newcfgentry);
    void channelIdxchanged(int32_t idx);
    // Stores the value of the spin box that finished editing; only that field.
    void saveDeviceInfo();
    void on_stackedWidget_currentChanged(int index);
    void translateUiSlot(QWidget *ptr) override;

private:
    bool save(bool current, bool limit);

    Ui::ConfigOutputTab *ui;
    int32_t channelIdx = 0;
    // The channel whose values the spin boxes show, -1 before the first
    // refresh, and the stored values they were last given. A value typed
    // into a box belongs to this channel, whatever the current one is.
    int32_t shownChannel = -1;
    int shownScale = -1;
    int shownThreshold = -1;
    // The value the refresh last gave the current box, after its rounding
    // to two decimals and its range: the box holding it was not changed.
    double shownCurrent = -1.0;
};
