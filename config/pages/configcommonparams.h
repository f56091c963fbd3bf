#pragma once

#include "basewidget.h"
#include "configrecords.h"

namespace Ui {
class ConfigCommonParams;
}

// The "Common Settings" page: device name, trigger debounce time, output
// type and the level of the lubrication event output. It keeps no values of
// its own: it shows what the configuration model announces and hands every
// change back to the model at once.
class ConfigCommonParams : public BaseWidget
{
    Q_OBJECT
public:
    explicit ConfigCommonParams(QWidget *parent = nullptr);
    ~ConfigCommonParams() override;
    // Hands a device name typed but not yet confirmed to the model, as Enter
    // would. False when the model refused it: the refusal is reported and
    // the edit shows the name that is kept.
    bool commitDeviceName();

signals:
    // A typed device name was refused (and reported) as the focus left it.
    void editRefused();

public slots:
    void updateConfigDevice(CFG_Device_Param_struct newcfgentry);
    void saveCommonParams();
    void updateDevicename(QString newDevicename);
    void on_cmbOutputselect_currentIndexChanged(int index);
    void on_cmbOutputInversion_currentIndexChanged(int index);
    void on_leditDeviceName_editingFinished();
    void translateUiSlot(QWidget *ptr) override;

private:
    Ui::ConfigCommonParams *ui;
};
