#include "mainwindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QNetworkInterface>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

#include "aboutdialog.h"
#include "addressinput.h"
#include "ethernethandler.h"
#include "firmwarehandler.h"
#include "firmwaresealer.h"
#include "loaderresources.h"
#include "loaderversion.h"
#include "ui_mainwindow.h"
#include "udpserver.h"
#include "waitms.h"

namespace loader {

namespace {

const char *const kGreen = "background-color: rgb( 0, 255, 0 );";
const char *const kRed = "background-color: rgb( 255, 0, 0 );";
constexpr int kResetSettleMs = 4000;

// Usage text and a few single lines share one text stream on standard
// output, made on first use and kept until the process ends.
QTextStream &standardOutput()
{
    static QTextStream *stream = new QTextStream(stdout);
    return *stream;
}

} // namespace

MainWindow::MainWindow(UDPServer *server, int argc, char **argv)
    : QMainWindow(nullptr), ui((initResources(), new Ui::MainWindow)), m_server(server)
{
    ui->setupUi(this);
    m_chooseFile = [](QWidget *parent, const QString &caption, const QString &start, const QString &filter) {
        return QFileDialog::getOpenFileName(parent, caption, start, filter);
    };

    if (argc > 1) {
        ui->interfaceNormal->setEnabled(false);
        ui->menuBar->setEnabled(false);
        hide();
        setWindowFlags(windowFlags()
                       & ~(Qt::WindowContextHelpButtonHint | Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint
                           | Qt::WindowFullscreenButtonHint));
        for (int i = 1; i < argc; ++i)
            m_words.append(QString::fromUtf8(argv[i]));
    }

    EthernetHandler *handler = EthernetHandler::instance();
    handler->openLink();
    if (m_server) {
        connect(handler, &EthernetHandler::sendPacketSignal, m_server,
                qOverload<QByteArray, QHostAddress>(&UDPServer::sendPacketSlot), Qt::QueuedConnection);
        connect(m_server, &UDPServer::messageReceivedSignal, handler, &EthernetHandler::handleMessageSlot,
                Qt::QueuedConnection);
        connect(this, &MainWindow::setIPSignal, m_server,
                [server = m_server](QHostAddress ip, uint16_t) { server->setIPSlot(ip); });
    }

    fillAdapterList();

    connect(this, &MainWindow::execCMD, this, &MainWindow::execCMDSlot, Qt::QueuedConnection);
    connect(this, &MainWindow::addMagicToHexFile, this,
            [this](QString fileName, bool) { addMagicToFirmwareHexFileSlot(fileName); }, Qt::QueuedConnection);
    connect(this, &MainWindow::quitCMDLineApplication, this, &MainWindow::quitCMDLineApplicationSlot,
            Qt::QueuedConnection);

    setWindowTitle(loaderversion::windowTitle());
    processCommandLine(m_words);
    m_rememberedPath = QStandardPaths::writableLocation(QStandardPaths::HomeLocation) + QDir::separator();
}

MainWindow::~MainWindow()
{
    m_license.close();
    delete ui;
}

void MainWindow::setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

QString MainWindow::normaliseAddressText(const QString &text) { return addressinput::normaliseAddressText(text); }

void MainWindow::fillAdapterList()
{
    // The first item makes the combo box's index 0, which binds the socket
    // to that adapter at once.
    for (const QNetworkInterface &iface : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry &entry : iface.addressEntries()) {
            const QHostAddress ip = entry.ip();
            if (ip.isLoopback() || ip.protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            m_adapters.append(ip);
            ui->cmbAdapter->addItem(addressinput::adapterItemText(iface.humanReadableName(), ip));
        }
    }
}

int MainWindow::optionCode(const QString &word)
{
    // Compared in this order; each word's code is also the function number
    // of its command ("-l" 5, "-c" 6, "-rc" 7).
    static const struct
    {
        const char *word;
        int code;
    } options[] = {{"-h", 0}, {"-t", 1}, {"-s", 2}, {"-f", 3}, {"-k", 4}, {"-c", 6}, {"-rc", 7}, {"-l", 5}, {"-m", 8}};
    for (const auto &option : options)
        if (word.compare(QLatin1String(option.word), Qt::CaseInsensitive) == 0)
            return option.code;
    return -1;
}

void MainWindow::writeLine(const QString &line)
{
    std::fflush(stdout);
    QTextStream &out = standardOutput();
    out << line << '\n';
    out.flush();
}

void MainWindow::printUsage()
{
    writeLine(QStringLiteral("usage: KorvantisLoader.exe -t <IP> -s <IP> <CMD>"));
    const char *const rows[][2] = {
        {"-h", "Displays this help."},
        {"-t <IP>", "sets the target IP."},
        {"-s <IP>", "sets the source IP."},
        {"-f <FileName>", "Writes the application firmware from <FileName>."},
        {"-k <FileName>", "Writes a key update from <FileName>."},
        {"-c", "Catches the booloader to stay."},
        {"-rc", "Resets FW and Catches the booloader to stay."},
        {"-l", "starts the firmware."},
        {"-m <FileName>", "Adds magic to the firmware file."},
    };
    for (const auto &row : rows)
        writeLine(QStringLiteral("%1%2").arg(QLatin1String(row[0]), -30).arg(QLatin1String(row[1])));
}

void MainWindow::processCommandLine(const QStringList &args)
{
    m_commandLine = false;
    int position = 0;
    int stop = 0;
    bool targetGiven = false;
    bool sourceGiven = false;
    bool queued = false;
    EthernetHandler *handler = EthernetHandler::instance();

    while (position < args.size() && stop == 0) {
        const int code = optionCode(args.at(position));
        const bool commandWord = code == 3 || code == 4 || code == 5 || code == 6 || code == 7 || code == -1;
        if (commandWord && !(targetGiven && sourceGiven)) {
            std::printf("missing source or target ip\n");
            std::fflush(stdout);
            m_commandLine = true;
            emit quitCMDLineApplication(ERR_MISSING_ADDRESS);
            return;
        }
        const bool takesArgument = code == 1 || code == 2 || code == 3 || code == 4 || code == 8;
        QString argument;
        if (takesArgument) {
            if (position + 1 >= args.size()) {
                stop = ERR_TOO_MUCH_DATA;
                break;
            }
            argument = args.at(position + 1);
            position += 2;
        } else {
            position += 1;
        }
        switch (code) {
        case 0:
            printUsage();
            m_commandLine = true;
            emit quitCMDLineApplication(0);
            queued = true;
            break;
        case 1:
            handler->setTargetIP(QHostAddress(argument));
            m_commandLine = true;
            targetGiven = true;
            break;
        case 2: {
            const QHostAddress source(argument);
            m_commandLine = true;
            for (const QHostAddress &adapter : m_adapters) {
                if (adapter.isEqual(source, QHostAddress::StrictConversion)) {
                    emit setIPSignal(adapter, kDevicePort);
                    sourceGiven = true;
                    break;
                }
            }
            break;
        }
        case 3:
        case 4:
            m_commandLine = true;
            emit execCMD(code, argument);
            queued = true;
            break;
        case 5:
        case 6:
        case 7:
            m_commandLine = true;
            emit execCMD(code, QStringLiteral("NOFILE"));
            queued = true;
            break;
        case 8:
            m_commandLine = true;
            emit addMagicToHexFile(argument, true);
            queued = true;
            break;
        default:
            break;
        }
    }

    // A command line that queued nothing would leave a hidden process
    // running forever: end it with the walk's own outcome instead (an option
    // without its argument gives -1001, addresses alone give 0).
    if (!args.isEmpty() && !queued) {
        m_commandLine = true;
        emit quitCMDLineApplication(stop);
    }
}

void MainWindow::showStatus(const QString &text, bool success)
{
    statusBar()->setStyleSheet(QLatin1String(success ? kGreen : kRed));
    statusBar()->showMessage(text);
}

void MainWindow::execCMDSlot(int function, QString fileName)
{
    EthernetHandler *handler = EthernetHandler::instance();
    errorCode_e result = ERR_OK;
    QString name;
    if (!handler->hasTarget()) {
        result = ERR_NO_TARGET;
    } else if ((function == UpdateFirmware || function == UpdateKeys) && fileName.isEmpty()) {
        // Nothing to write is no success: an empty archive name is refused.
        result = ERR_BAD_CONTENT;
    } else if (function != CatchLoader && function != ResetAndCatch && (result = handler->catchLoader()) != ERR_OK) {
        // the catch's code is the result
    } else {
        switch (function) {
        case UpdateFirmware:
        case UpdateKeys: {
            const bool firmware = function == UpdateFirmware;
            name = firmware ? QStringLiteral("Update Firmware") : QStringLiteral("Update Keys");
            FirmwareHandler flasher(handler);
            connect(&flasher, &FirmwareHandler::showProgress, this, &MainWindow::showProgress);
            std::printf(firmware ? "Writing Firmware: %s\n" : "Writing Keys: %s\n", fileName.toLocal8Bit().constData());
            std::fflush(stdout);
            result = firmware ? flasher.writeFirmware(fileName) : flasher.writeKeys(fileName);
            break;
        }
        case StartFirmware:
            name = QStringLiteral("Start Firmware");
            result = handler->startFirmware();
            break;
        case CatchLoader:
            name = QStringLiteral("Catch Loader");
            result = handler->catchLoader();
            break;
        case ResetAndCatch:
            handler->resetDevice();
            waitMs(kResetSettleMs);
            result = handler->catchLoader();
            if (result != ERR_OK)
                writeLine(QStringLiteral("error catching loader"));
            break;
        default:
            break;
        }
        if (result == ERR_OK)
            showStatus(name + QStringLiteral(" successfully written"), true);
        else
            showStatus(QStringLiteral("Unable to write ") + name, false);
    }
    emit quitCMDLineApplication(result);
}

void MainWindow::addMagicToFirmwareHexFileSlot(QString fileName)
{
    errorCode_e result = ERR_BAD_CONTENT;
    if (!fileName.isEmpty()) {
        FirmwareSealer::Stage stage = FirmwareSealer::Stage::Read;
        result = FirmwareSealer::sealHexFile(fileName, &stage);
        const QByteArray local = fileName.toLocal8Bit();
        if (result != ERR_OK && stage == FirmwareSealer::Stage::Read) {
            if (m_commandLine) {
                std::printf("Unable to read >%s<\n", local.constData());
                std::fflush(stdout);
            }
            emit quitCMDLineApplication(result);
            showStatus(QStringLiteral("Unable to read ") + fileName, false);
            return;
        }
        if (result == ERR_OK) {
            if (m_commandLine)
                std::printf("Successfully updated %s\n", local.constData());
            showStatus(QStringLiteral("Successfully updated ") + fileName, true);
        } else {
            if (m_commandLine)
                std::printf("Unable to write %s\n", local.constData());
            showStatus(QStringLiteral("Unable to write ") + fileName, false);
        }
        std::fflush(stdout);
    }
    emit quitCMDLineApplication(result);
}

void MainWindow::quitCMDLineApplicationSlot(int result)
{
    if (!m_commandLine)
        return;
    std::printf("Result: %d\n", result);
    std::fflush(stdout);
    // Ends here without unwinding: the socket thread and the nested event
    // loops of a command still running must not be torn down half-way.
    std::_Exit(result);
}

} // namespace loader
