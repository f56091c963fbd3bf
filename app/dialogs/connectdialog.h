#pragma once

#include <QHostAddress>
#include <QIcon>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

#include "basedialog.h"
#include "devicerecords.h"
#include "ipaddresstext.h"

class EventDetect;
class QTableWidgetItem;

class QLabel;

namespace Ui {
class Connectdialog;
}

// The dialog in which the engineer chooses the unit to work with: a list of
// the units found by a discovery broadcast, or an address typed in by hand.
// "Connect" points the link at the unit and stores its name, address and
// mask in the configuration model only (nothing is written to the unit).
// exec() disconnects first and starts the first discovery 100 ms after the
// dialog shows; whoever cancels leaves the tool disconnected.
class Connectdialog : public BaseDialog
{
    Q_OBJECT

public:
    explicit Connectdialog(QWidget *parent = nullptr);
    ~Connectdialog() override;

    int exec() override;

    // Null, not IPv4, or 127.0.0.1.
    static bool isInvalidIp(const QHostAddress &address);

    // State of the choice, for the main window's tour and for tests.
    bool manualEntrySelected() const { return m_manualSelected; }
    int selectedRow() const { return m_selectedRow; }
    const std::vector<DiscoveredDevice> &deviceList() const { return m_devices; }

public slots:
    void ScaleFactorChange(double factor) override;
    void updateDiscoverList();
    void on_btnConnect_clicked();
    void on_btnCancel_clicked();
    void on_btnDiscoverIPs_clicked();
    void on_tblFoundDevices_itemSelectionChanged();
    void leditManIP_editingFinished();
    void on_tblFoundDevices_itemDoubleClicked(QTableWidgetItem *item);
    void on_btnClose_clicked();
    void frameManIP_clicked();
    void on_leditManIP_textChanged(QString arg1);
    void on_leditManIP_textEdited(QString arg1);
    void translateUiSlot(QWidget *ptr) override;

private:
    void showConnectionState();
    void setManualEntrySelected(bool on);
    void updateConnectButton();
    void clearTableSelection();
    void applyDeviceInfo(const DiscoveredDevice &record);
    void addDeviceRow(int row, const QHostAddress &ip, const QString &mac, const QString &name, bool current);
    // The discovery request: the chosen interface's address and the port the
    // socket is bound to once the rebind that a change of interface asked
    // for has been carried out.
    MG_Discover_Request_t discoveryRequest();
    // The search itself, once no request waits for its answer.
    void search();
    // Ends the dialog with `result`, or, while a search runs, when it ends:
    // the search holds the single answer wait, and whatever the window
    // under the dialog would start meanwhile would be refused.
    void finish(int result);
    int headerPointSize() const;
    // A state mark (link or no link) before a header label's text.
    void addStateMark(QLabel *label);
    void reportError(const QString &message);
    // Makes room for what a search brought (units or a message).
    void fitContents();

    Ui::Connectdialog *ui;
    std::shared_ptr<EventDetect> m_pressWatcher;
    QHostAddress m_currentAddress;
    QString m_connectedName;
    bool m_wasConnected = false;
    int m_columnCount = 3;
    bool m_manualSelected = false;
    int m_selectedRow = -1;
    std::vector<DiscoveredDevice> m_devices;
    QIcon m_linkIcon;
    QIcon m_noLinkIcon;
    // Starts the first discovery once the dialog shows.
    QTimer m_startTimer;
    bool m_searching = false;
    bool m_finishPending = false;
};
