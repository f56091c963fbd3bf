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
#include "commandline.h"
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
    // The progress overlay covers the whole window, the menu bar, the status
    // bar and the label below the stack included: as a page of the stack it
    // could cover only the stack, and a click beside it reached the Help
    // menu in the middle of a flash.
    ui->GUIStack->removeWidget(ui->interfaceBlocker);
    ui->interfaceBlocker->setParent(this);
    ui->interfaceBlocker->hide();
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

int MainWindow::optionCode(const QString &word) { return commandline::code(word); }

void MainWindow::writeLine(const QString &line)
{
    std::fflush(stdout);
    QTextStream &out = standardOutput();
    out << line << '\n';
    out.flush();
}

void MainWindow::printUsage()
{
    for (const QString &line : commandline::usageLines())
        writeLine(line);
}

void MainWindow::processCommandLine(const QStringList &args)
{
    using commandline::Option;
    m_commandLine = false;
    const commandline::Plan plan = commandline::parse(args, [this](const QString &text) {
        return adapterFor(QHostAddress(text)) >= 0;
    });
    EthernetHandler *handler = EthernetHandler::instance();

    // Refused before anything is queued: the first command's result would
    // end the process while a later one still waits, and a script would take
    // that for the outcome of the whole line.
    if (plan.end == commandline::End::SeveralCommands) {
        std::printf("only one command per run\n");
        std::fflush(stdout);
        m_commandLine = true;
        emit quitCMDLineApplication(ERR_SEVERAL_COMMANDS);
        return;
    }

    for (const commandline::Step &step : plan.steps) {
        m_commandLine = true;
        switch (step.option) {
        case Option::Help:
            printUsage();
            emit quitCMDLineApplication(0);
            break;
        case Option::Target:
            handler->setTargetIP(QHostAddress(step.argument));
            // The window of command mode shows the unit and the adapter the
            // command works with, not the form's defaults.
            ui->txtTargetIP->setText(handler->targetIP().toString());
            break;
        case Option::Source:
            if (step.matched) {
                const int adapter = adapterFor(QHostAddress(step.argument));
                emit setIPSignal(m_adapters.at(adapter), kDevicePort);
                // Bound just now: the combo box's own binding is not wanted.
                const QSignalBlocker quiet(ui->cmbAdapter);
                ui->cmbAdapter->setCurrentIndex(adapter);
            }
            break;
        case Option::UpdateFirmware:
            emit execCMD(UpdateFirmware, step.argument);
            break;
        case Option::UpdateKeys:
            emit execCMD(UpdateKeys, step.argument);
            break;
        case Option::StartFirmware:
            emit execCMD(StartFirmware, QStringLiteral("NOFILE"));
            break;
        case Option::CatchLoader:
            emit execCMD(CatchLoader, QStringLiteral("NOFILE"));
            break;
        case Option::ResetAndCatch:
            emit execCMD(ResetAndCatch, QStringLiteral("NOFILE"));
            break;
        case Option::Seal:
            emit addMagicToHexFile(step.argument, true);
            break;
        }
    }

    if (plan.end == commandline::End::MissingAddress) {
        std::printf("missing source or target ip\n");
        std::fflush(stdout);
        m_commandLine = true;
        emit quitCMDLineApplication(ERR_MISSING_ADDRESS);
        return;
    }
    // A command line that queued nothing would leave a hidden process
    // running forever: end it with the walk's own outcome instead (an option
    // without its argument gives -1001, addresses alone give 0).
    if (!args.isEmpty() && !plan.queuesWork()) {
        m_commandLine = true;
        emit quitCMDLineApplication(plan.end == commandline::End::MissingArgument ? ERR_TOO_MUCH_DATA : ERR_OK);
    }
}

int MainWindow::adapterFor(const QHostAddress &address) const
{
    for (int i = 0; i < m_adapters.size(); ++i) {
        if (m_adapters.at(i).isEqual(address, QHostAddress::StrictConversion))
            return i;
    }
    return -1;
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
