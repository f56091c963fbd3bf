#pragma once

#include <QHostAddress>
#include <QStringList>

#include "basewidget.h"
#include "devicerecords.h"

namespace Ui {
class LogTab;
}

// The "Log" page: reads the event log from the unit and shows it as a tree
// list or as the SKW history graph of the chosen channels, writes the LOG
// file and the CSV export, and shows the unit's clock. The log itself is
// LoghandlerCont's; the page holds the widgets, disables itself while a
// read runs and turns error codes into messages.
class LogTab : public BaseWidget
{
    Q_OBJECT
public:
    explicit LogTab(QWidget *parent = nullptr);
    ~LogTab() override;

    bool isBusy() const { return busy; }
    // " YY:DDD \t HH:MM:SS " (translated) of the unit's clock in seconds;
    // years of 365 days, counted modulo 100.
    static QString deviceTimeText(uint32_t seconds);

public slots:
    void manReadLogTrigger();
    void ScaleFactorChange(double factor) override;
    void lostconnection();
    void connectionsuccesfull(HearBeatMessage_t &states, QHostAddress sender);
    void saveCSV();
    void on_btnGetLog_clicked();
    void on_btnExportLogRaw_clicked();
    void on_btnSKWHist_clicked();
    void on_btnLogList_clicked();
    void translateUiSlot(QWidget *ptr) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The CSV file's name from the save dialog; empty when cancelled.
    virtual QString chooseCsvFile();

private:
    // Shows the message with the code's text and the code; returns it.
    QString reportFailure(const char *message, int code);
    void reportNothingToExport();
    void showPage(bool graph);
    // The height the history graph's image may take now.
    int historyImageLimit() const;

    Ui::LogTab *ui;
    bool busy = false;
    // The note on the notification bar about bytes the shown log left out;
    // empty when none is shown.
    QString shownInputNote;
    // The messages of failed reads raised since the last good one.
    QStringList shownReadFailures;
};
