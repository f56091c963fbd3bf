#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>

#include "basedialog.h"
#include "devicerecords.h"

class Confighandler;
class EthernetHandler;

namespace Ui {
class RefRunDialog;
}

// Shows the result of a reference run per channel: previous and new SKW,
// previous and new reference value (scale in mA or threshold) and the
// relubrication suggestions from them. The engineer applies a new value per
// channel; leaving writes every applied value to the unit as the channel's
// scale or threshold and, when all writes succeeded, saves the configuration
// on the unit. A channel without a new reference value shows "---" and is
// not written.
class RefRunDialog : public BaseDialog
{
    Q_OBJECT

public:
    struct Item
    {
        uint8_t channel = 0;
        int16_t value = 0;
        bool applied = false;
        bool hasValue = true;  // the run produced a new reference value
    };

    explicit RefRunDialog(QWidget *parent = nullptr);
    ~RefRunDialog() override;

    // The link to write through; without one the program's device is used.
    void setLink(EthernetHandler *handler, Confighandler *config);
    // The unit the run was made on, by its MAC address as the unit gives it
    // (parameter 0x1002); empty when it could not be read. Leaving writes
    // only to a unit that answers with this address; without one, or when
    // another unit answers, it says so and writes nothing.
    void setRunUnit(const QByteArray &mac) { m_runUnit = mac; }
    QByteArray runUnit() const { return m_runUnit; }
    // Reads the MAC address of the unit that answers now, for setRunUnit:
    // empty when it does not answer. The main window asks before the dialog
    // shows: a wait for the unit while the dialog is up but not yet running
    // could see it ended before it runs.
    static QByteArray answeringUnit(EthernetHandler *handler);

    // Fills the dialog from the record and runs it; returns its result (1
    // after every write succeeded), 0 when the record names no channel.
    int setRefRunResult(const ReferenceRunResult_t &result);

    bool scaleMode() const { return m_scaleMode; }
    const QVector<Item> &items() const { return m_items; }
    int currentItem() const { return m_current; }

public slots:
    void on_btnApply_clicked();
    void on_btnExit_clicked();
    void on_tabChnsel_currentChanged(int index);
    void on_spndRefVal_editingFinished();
    void translateUiSlot(QWidget *ptr) override;

private:
    void resolveLink();
    void applyModeTexts();
    void showItem(int index);
    void applyValue();
    void refreshNotProcessed();
    QStringList notProcessed() const;
    bool sendChannelValue(const Item &item);
    // Whether the unit that answers now is the one the run was made on;
    // if not, says so.
    bool answeringUnitIsTheRunsOwn();
    QString itemName(int index) const;
    static QString decimal(double value);

    Ui::RefRunDialog *ui;
    EthernetHandler *m_handler = nullptr;
    Confighandler *m_config = nullptr;
    bool m_scaleMode = false;
    ReferenceRunResult_t m_result;
    int m_current = 0;
    QVector<Item> m_items;
    QByteArray m_runUnit;
};
