#pragma once

#include <QWidget>

#include "bootrecords.h"
#include "errorcode.h"

namespace Ui {
class AboutDialog;
}

namespace loader {

class EthernetHandler;

// The loader's About window: its version, the Qt version, facts about the PC
// and, when a unit is addressed, the hardware and bootloader versions that
// the unit's bootloader reports. Filled anew each time it is shown; Close
// deletes it. The unit's versions are read right after the show, once the
// window is up: each read waits in a nested event loop, during which the
// window may be closed and deleted, so every read is followed by a check.
class AboutDialog : public QWidget
{
    Q_OBJECT
public:
    explicit AboutDialog(EthernetHandler *handler, QWidget *parent = nullptr);
    ~AboutDialog() override;

    // The information text as shown (for checks and copying).
    QString infoText() const;
    // True while the unit's versions are still being read for this show.
    bool isReadingVersions() const { return m_reading; }

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_btnClose_clicked();

private:
    void appendHtml(const QString &html);
    void appendText(const QString &text);
    void showHardwareVersion();
    void readUnitVersions();
    static void startNextRead();
    void showHardwareVersion(errorCode_e result, const HW_VersionInfo &hw);
    void showBootloaderVersion(errorCode_e result, const SW_VersionInfo &sw);

    Ui::AboutDialog *ui;
    EthernetHandler *m_handler;
    int m_fill = 0;  // counts the shows; a read for an earlier show stops
    bool m_reading = false;
};

} // namespace loader
