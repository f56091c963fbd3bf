#pragma once

#include <QHostAddress>
#include <QMutex>

#include "basewidget.h"
#include "configrecords.h"

namespace Ui {
class FieldbusConfig;
}

struct HearBeatMessage_t;

// The page "Fieldbus Configuration": shows and edits the fieldbus module
// record that the configuration model holds. Every finished edit replaces
// the model's record at once (and the page refreshes from it); the action
// bar at its foot writes it to the unit. A mistyped address is refused with
// a message and its field keeps the stored value. Shown when the unit
// reports a fieldbus module, hidden when the link is lost.
class FieldbusConfig : public BaseWidget
{
    Q_OBJECT

public:
    explicit FieldbusConfig(QWidget *parent = nullptr);
    ~FieldbusConfig() override;

public slots:
    // A refresh from the model: the widgets show the record.
    void AnybusCFGchanged(Anybus_cfg cfg);
    void lostconnection();
    void connectionsuccesfull(HearBeatMessage_t &states, QHostAddress sender);
    // An edit: the widgets' values go into the model's record.
    void AnybusCFGedited();
    void translateUiSlot(QWidget *ptr) override;

private:
    Ui::FieldbusConfig *ui;
    // Held while a refresh sets the widgets, so that the change signals it
    // raises are not taken as edits.
    QMutex m_refresh;
};
