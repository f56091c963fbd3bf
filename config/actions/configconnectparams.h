#pragma once

#include "basewidget.h"
#include "configrecords.h"

namespace Ui {
class ConfigConnectParams;
}

// The "PPU Network Settings" page: shows the unit's IPv4 address and net
// mask as the configuration model holds them and, after a confirmation,
// writes typed ones to the unit and has the unit save them. The unit takes
// them at its next reset. A change that fails on the way is taken back, so
// the unit never saves half of it.
class ConfigConnectParams : public BaseWidget
{
    Q_OBJECT

public:
    explicit ConfigConnectParams(QWidget *parent = nullptr);
    ~ConfigConnectParams() override;

public slots:
    void updateConfigConnectivity(CFG_ConnectionParameters_struct newcfgentry);
    void on_btnApplyNetwork_clicked();
    void translateUiSlot(QWidget *ptr) override;

private:
    void reportFailure(const QString &message);
    void saveFinished();

    Ui::ConfigConnectParams *ui;
    // A confirmed change whose save the unit has yet to confirm.
    bool resetNotePending = false;
};
