#pragma once

#include <QHostAddress>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "aboutdialog.h"
#include "errorcode.h"
#include "licensedialog.h"

namespace Ui {
class MainWindow;
}

namespace loader {

class UDPServer;

// KorvantisLoader's one window. Started without arguments it is the window
// program; with arguments its constructor walks the command line and queues
// the work to itself, and the quit slot writes the result line and ends the
// process with the result as exit code.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(UDPServer *server, int argc, char **argv);
    ~MainWindow() override;

    // The number of a command-line word, case ignored: "-h" 0, "-t" 1,
    // "-s" 2, "-f" 3, "-k" 4, "-l" 5, "-c" 6, "-rc" 7, "-m" 8, anything
    // else -1 (the option table of the command line).
    static int optionCode(const QString &word);
    static QString normaliseAddressText(const QString &text);
    bool isCommandLine() const { return m_commandLine; }
    const QList<QHostAddress> &adapters() const { return m_adapters; }
    QString rememberedPath() const { return m_rememberedPath; }
    AboutDialog *aboutDialog() const { return m_about; }
    LicenseDialog *licenseDialog() { return &m_license; }

    // Asks for a file to open: (parent, caption, start path, filter) -> the
    // chosen name, empty when cancelled. The file dialog by default;
    // replaceable where no one can click it.
    using FileChooser = std::function<QString(QWidget *, const QString &, const QString &, const QString &)>;
    void setFileChooser(FileChooser chooser);

signals:
    void doTick();
    void quitCMDLineApplication(int result);
    void execCMD(int function, QString fileName);
    void connectToDevice(QString targetIP, QString sourceIP);
    void addMagicToHexFile(QString fileName, bool isFirmware);
    void setIPSignal(QHostAddress ip, uint16_t port);

protected:
    void closeEvent(QCloseEvent *event) override;

public slots:
    void showProgress(QString message, uint8_t progress, bool visible);
    void writeToLog(QString msg);
    void on_btnConnect_clicked();
    void on_btnFirmware_clicked();
    void on_actionAbout_triggered();
    void on_btnClearLog_clicked();
    void on_btnStartFirmware_clicked();
    void quitCMDLineApplicationSlot(int result);
    void execCMDSlot(int function, QString fileName);
    void addMagicToFirmwareHexFileSlot(QString fileName);
    void on_btnGenFirmwareMagic_clicked();
    void on_btnResetControllerFromFW_clicked();
    void on_actionLicense_triggered();
    void on_btnKeyUpdate_clicked();
    void on_btnCatchLoader_clicked();
    void on_btnShowLog_clicked();
    void on_cmbAdapter_currentIndexChanged(int index);
    void on_btnWriteDefaults_clicked();
    void on_rdoNetCfgToDefaults_toggled(bool checked);
    void on_btnNetCfg_clicked();

private:
    enum Function { UpdateFirmware = 3, UpdateKeys = 4, StartFirmware = 5, CatchLoader = 6, ResetAndCatch = 7 };

    void processCommandLine(const QStringList &args);
    // Index of the adapter with exactly this address, -1 when none.
    int adapterFor(const QHostAddress &address) const;
    void printUsage();
    void writeLine(const QString &line);
    void showStatus(const QString &text, bool success);
    void fillAdapterList();
    // Catches the bootloader and asks for an archive; empty when there is
    // no target, the catch fails or the dialog was cancelled.
    QString chooseArchive(const QString &defaultName, const QString &caption);
    errorCode_e writeArchive(const QString &fileName, bool firmware);
    QString dialogStart(const QString &defaultName) const;

    Ui::MainWindow *ui;
    QPointer<AboutDialog> m_about;
    QList<QPointer<AboutDialog>> m_abouts;
    LicenseDialog m_license;
    UDPServer *m_server;
    bool m_commandLine = false;
    QStringList m_words;
    QList<QHostAddress> m_adapters;
    QString m_rememberedPath;
    FileChooser m_chooseFile;
    int m_logNarrowing = 0;
};

} // namespace loader
