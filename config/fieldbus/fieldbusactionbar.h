#pragma once

#include "basewidget.h"

class QPushButton;

namespace Ui {
class FieldbusActionbar;
}

// The buttons at the foot of the fieldbus page: apply the edited record on
// the unit (write, save, ask, wait for the save, then on Yes a ten-second
// progress and a module reset), read it back, and switch the module's FTP
// server, each switch followed by a module reset. One apply runs at a time
// in the whole program; a second one is refused with a message. An apply is
// also refused, with a word on what to do, while the record was neither read
// from the connected unit nor loaded from a configuration file for it (or
// the unit was reset since), and when the record is made for another module
// than the one the unit reports; one loaded from another unit's
// configuration file is written only when the engineer chooses so.
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
    // Why an apply would write nothing now (empty when it may write): the
    // record is not this unit's own, or is made for another module;
    // applyRefusal says it as the refusal ("Nothing was written: ...").
    static QString recordProblem();
    static QString applyRefusal();
    // The record was loaded from a file of another unit: an apply asks
    // before it writes. Empty otherwise.
    static QString otherUnitsFile();
    // What the page says about its record: why an apply refuses it, that it
    // comes from another unit's file, or nothing when it is this unit's.
    static QString recordNote();
    // "PROFINET RT (0x84)"; a code without a name as its number.
    static QString moduleName(uint16_t networkType);

public slots:
    void on_btnResetAnybusMod_clicked();
    void on_btnReadFieldCfg_clicked();
    void on_btnenFTP_clicked();
    void on_btndisFTP_clicked();
    void translateUiSlot(QWidget *ptr) override;
    void sendFieldbusmoduleReset();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QPushButton *> buttons() const;
    // Each button at least as wide as its caption needs.
    void fitButtons();
    void reportFailure(const QString &message);
    void switchFtp(bool enable);

    Ui::FieldbusActionbar *ui;
};
