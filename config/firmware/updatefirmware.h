#pragma once

#include "basewidget.h"

#include <QHostAddress>
#include <functional>

namespace Ui {
class UpdateFirmware;
}

class EthernetHandler;
class FirmwareUpdater;
class UDPServer;

// The "Update Firmware" page: choose a firmware archive and have
// KorvantisLoader write it to the connected unit.
class UpdateFirmware : public BaseWidget
{
    Q_OBJECT

public:
    explicit UpdateFirmware(QWidget *parent = nullptr);
    ~UpdateFirmware() override;

    // Asks for an archive to open: (parent, caption, filter) -> name, null
    // when cancelled. A file dialog by default; tests put in their own.
    using FileChooser = std::function<QString(QWidget *, const QString &, const QString &)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    // The link the update takes the unit from; Device's by default.
    void setLink(EthernetHandler *link, UDPServer *server);
    // Where the loader is looked for and a run's time-out (tests).
    void setLoaderLookup(const QString &workingDir, const QString &programDir, int timeoutMs);

    // True while an update runs: the loader owns the unit, and the program
    // must not end before it is done.
    bool isUpdating() const { return m_updating; }

    // The message of a failed update: the step that failed and how its
    // loader run ended.
    static QString failureMessage(const FirmwareUpdater &updater);

signals:
    // An update has ended, well or not (its result message follows).
    void updateEnded(int32_t result);

public slots:
    void on_btnOpenDialog_clicked();
    void on_btnUpdate_clicked();
    void translateUiSlot(QWidget *ptr) override;

private:
    Ui::UpdateFirmware *ui;
    FileChooser m_chooseFile;
    EthernetHandler *m_link = nullptr;
    UDPServer *m_server = nullptr;
    QString m_workingDir;
    QString m_programDir;
    int m_timeoutMs = 300000;
    bool m_updating = false;
};
