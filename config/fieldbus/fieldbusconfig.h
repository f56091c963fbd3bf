#pragma once

#include <QHostAddress>
#include <QMutex>

#include "basewidget.h"
#include "configrecords.h"

namespace Ui {
class FieldbusConfig;
}

class QLabel;

struct HearBeatMessage_t;

// The page "Fieldbus Configuration": shows and edits the fieldbus module
// record that the configuration model holds. Every finished edit replaces
// the model's record at once (and the page refreshes from it); the action
// bar at its foot writes it to the unit. A mistyped address or a name too
// long for its field is refused with a message and its field keeps the
// stored value. The layout follows the module the unit reports; the
// settings of a record made for another module are not shown, and a word
// under the title says when the record is not this unit's own. Shown when
// the unit reports a fieldbus module, hidden when the link is lost.
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
    // Says whose record the page shows when it is not this unit's own (or
    // is made for another module); hidden when it is.
    void updateNote();
    void translateUiSlot(QWidget *ptr) override;

private:
    // The network type whose layout the page shows: the module the unit
    // reports, or without one the record's own.
    uint16_t layoutType(const Anybus_cfg &cfg) const;
    // Empties the module's settings: what the page shows is not a record's.
    void clearModuleSettings();

    Ui::FieldbusConfig *ui;
    QLabel *m_note = nullptr;
    // The module the unit reports in its heartbeats, 0xFFFF while none does.
    uint16_t m_unitType = 0xFFFF;
    // Held while a refresh sets the widgets, so that the change signals it
    // raises are not taken as edits.
    QMutex m_refresh;
};
