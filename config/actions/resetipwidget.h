#pragma once

#include "basewidget.h"
#include "devicerecords.h"

namespace Ui {
class ResetIpWidget;
}

// "Reset Network Settings": sets the network of the unit with a given MAC
// address by a broadcast, so it reaches a unit whose address is unknown or
// outside the PC's subnet. The unit returns to its default network settings
// or takes the address and net mask typed here. Needs no connection.
class ResetIpWidget : public BaseWidget
{
    Q_OBJECT

public:
    explicit ResetIpWidget(QWidget *parent = nullptr);
    ~ResetIpWidget() override;

    // The record and mode the page would send for its fields; false, with a
    // message for the engineer in `problem`, when the fields cannot make one.
    bool buildRecord(BCAST_NET_CONFIG &record, uint16_t &mode, QString &problem) const;

public slots:
    void on_btnApplySet_clicked();
    void on_rdioBtnNewNetwork_toggled(bool checked);
    void translateUiSlot(QWidget *ptr) override;

private:
    Ui::ResetIpWidget *ui;
};
