#pragma once

#include <QHostAddress>
#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <cstdint>

class QLabel;
class QProgressBar;
class QTextStream;

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

    // The code of a command-line word: "-h" 0, "-t" 1, "-s" 2, "-f" 3,
    // "-k" 4, "-c" 5, "-rc" 6, "-l" 7, "-m" 8, anything else -1.
    static int optionCode(const QString &word);
    bool isCommandLine() const { return m_commandLine; }
    const QList<QHostAddress> &adapters() const { return m_adapters; }

signals:
    void doTick();
    void quitCMDLineApplication(int result);
    void execCMD(int function, QString fileName);
    void connectToDevice(QString targetIP, QString sourceIP);
    void addMagicToHexFile(QString fileName, bool isFirmware);
    void setIPSignal(QHostAddress ip, uint16_t port);

public slots:
    void showProgress(QString message, uint8_t progress, bool visible);
    void writeToLog(QString msg);
    void quitCMDLineApplicationSlot(int result);
    void execCMDSlot(int function, QString fileName);
    void addMagicToFirmwareHexFileSlot(QString fileName);

private:
    enum Function { UpdateFirmware = 3, UpdateKeys = 4, StartFirmware = 5, CatchLoader = 6, ResetAndCatch = 7 };

    void processCommandLine(const QStringList &args);
    void printUsage();
    void writeLine(const QString &line);
    void showStatus(const QString &text, bool success);
    void fillAdapterList();

    UDPServer *m_server;
    bool m_commandLine = false;
    QStringList m_words;
    QList<QHostAddress> m_adapters;
    QString m_rememberedPath;
    QLabel *m_placeholder = nullptr;
    QProgressBar *m_progress = nullptr;
};

} // namespace loader
