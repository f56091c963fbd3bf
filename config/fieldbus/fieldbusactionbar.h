#pragma once

#include "basewidget.h"

namespace Ui {
class FieldbusActionbar;
}

// The buttons at the foot of the fieldbus page: apply the edited record on
// the unit (write, save, ask, wait for the save, then on Yes a ten-second
// progress and a module reset), read it back, and switch the module's FTP
// server, each switch followed by a module reset. One apply runs at a time
// in the whole program; a second one is refused with a message. An apply is
// also refused, with a word on what to do, while the record was neither read
// from the connected unit nor loaded from a configuration file.
class FieldbusActionbar : public BaseWidget
{
    Q_OBJECT

public:
    explicit FieldbusActionbar(QWidget *parent = nullptr);
    ~FieldbusActionbar() override;

    // The progress tick (1000 ms, ten of them) and the longest wait for the
    // unit's save feedback (10000 ms); shorter ones keep tests quick.
    static void setTimings(int tickMs, int feedbackTimeoutMs);
    static bool isApplying();

public slots:
    void on_btnResetAnybusMod_clicked();
    void on_btnReadFieldCfg_clicked();
    void on_btnenFTP_clicked();
    void on_btndisFTP_clicked();
    void translateUiSlot(QWidget *ptr) override;
    void sendFieldbusmoduleReset();

private:
    void reportFailure(const QString &message);
    void switchFtp(bool enable);

    Ui::FieldbusActionbar *ui;
};
