#pragma once

#include <QWidget>

namespace Ui {
class AboutDialog;
}

namespace loader {

class EthernetHandler;

// The loader's About window: its version, the Qt version, facts about the PC
// and, when a unit is addressed, the hardware and bootloader versions that
// the unit's bootloader reports. Filled anew each time it is shown; Close
// deletes it.
class AboutDialog : public QWidget
{
    Q_OBJECT
public:
    explicit AboutDialog(EthernetHandler *handler, QWidget *parent = nullptr);
    ~AboutDialog() override;

    // The information text as shown (for checks and copying).
    QString infoText() const;

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_btnClose_clicked();

private:
    void appendHtml(const QString &html);
    void appendText(const QString &text);
    void showHardwareVersion();
    void showBootloaderVersion();

    Ui::AboutDialog *ui;
    EthernetHandler *m_handler;
};

} // namespace loader
