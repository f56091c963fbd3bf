#pragma once

#include "basewidget.h"
#include "errordecode.h"

#include <QHostAddress>

class ConfigTab;
struct HearBeatMessage_t;

namespace Ui {
class ConfigActionBar;
}

// The bar above the configuration pages: write the whole configuration to
// the unit, read it from the unit, import it from a file and export it to
// one. The device buttons follow the link; the write button also waits for
// the unit to finish the save it started. Every failed step is reported as
// an error that names it.
class ConfigActionBar : public BaseWidget
{
    Q_OBJECT

public:
    explicit ConfigActionBar(QWidget *parent = nullptr);
    ~ConfigActionBar() override;

    // The view whose pages store their values before a write or export.
    void setConfigTab(ConfigTab *tab);

public slots:
    void ScaleFactorChange(double factor) override;
    void lostconnection();
    void connectionsuccesfull(HearBeatMessage_t &states, QHostAddress sender);
    void updateConfig();
    void loadConfig();
    void saveConfig();
    void on_btnWriteConfig_clicked();
    void on_btnReadConfig_clicked();
    void on_btnOpenConfig_clicked();
    void on_btnSaveConfig_clicked();
    void translateUiSlot(QWidget *ptr) override;

private:
    void reportFailure(const QString &message, errorCode_e code);
    // What is typed on the pages goes to the model first; false when the
    // model refused some of it (reported already), so that nothing leaves
    // the tool that the engineer did not see.
    bool storePages();
    bool writeSequence();
    void readSequence();
    void saveFinished();

    Ui::ConfigActionBar *ui;
    ConfigTab *configTab = nullptr;
    // A write or read sequence waits on the unit in nested event loops; a
    // second click meanwhile must not start another one in between.
    bool busy = false;
    // The press that started the present click on the write or export
    // button took the focus from an edit that was then refused: the click
    // does nothing but let the engineer see the refusal.
    bool pressCostAnEdit = false;
    bool clickCostAnEdit();
};
