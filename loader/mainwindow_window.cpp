// The window program's slots of the loader's main window: adapter choice,
// the unit commands behind the buttons, archive writing with its progress
// overlay, sealing, MAC and network configuration, the log and the Help menu.
#include "mainwindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextCursor>
#include <cstring>

#include "aboutdialog.h"
#include "addressinput.h"
#include "bootrecords.h"
#include "ethernethandler.h"
#include "firmwarehandler.h"
#include "ui_mainwindow.h"
#include "waitguard.h"

namespace loader {

namespace {
constexpr uint16_t kBootloaderPort = 7755;
}

void MainWindow::on_cmbAdapter_currentIndexChanged(int)
{
    const int index = ui->cmbAdapter->currentIndex();
    if (index >= 0 && index < m_adapters.size())
        emit setIPSignal(m_adapters.at(index), kBootloaderPort);
}

void MainWindow::on_btnConnect_clicked()
{
    const QHostAddress typed(normaliseAddressText(ui->txtTargetIP->text()));
    // A text that is no address gives 0.0.0.0 (toIPv4Address is 0 then).
    EthernetHandler::instance()->setTargetIP(QHostAddress(typed.toIPv4Address()));
}

void MainWindow::on_btnCatchLoader_clicked()
{
    EthernetHandler *handler = EthernetHandler::instance();
    if (!handler->hasTarget())
        return;
    const WaitGuard guard(this);
    const errorCode_e result = handler->catchLoader();
    if (!guard)
        return;
    if (result == ERR_OK)
        writeToLog(QStringLiteral("Catching Loader successful "));
    else
        writeToLog(QStringLiteral("Error Catching Loader "));
}

void MainWindow::on_btnStartFirmware_clicked()
{
    EthernetHandler *handler = EthernetHandler::instance();
    if (!handler->hasTarget()) {
        writeToLog(QStringLiteral("ERROR: not connected!"));
        return;
    }
    const WaitGuard guard(this);
    const errorCode_e result = handler->startFirmware();
    if (!guard)
        return;
    if (result == ERR_OK)
        writeToLog(QStringLiteral("Firmware started"));
    else
        writeToLog(QStringLiteral("ERROR: unable to start Firmware! - ") + QString::number(result));
}

void MainWindow::on_btnResetControllerFromFW_clicked()
{
    EthernetHandler *handler = EthernetHandler::instance();
    if (!handler->hasTarget())
        return;
    writeToLog(QStringLiteral("Sending Command: Reset Firmware"));
    handler->resetDevice();
}

QString MainWindow::dialogStart(const QString &defaultName) const
{
    if (!m_rememberedPath.isEmpty())
        return m_rememberedPath;
    return QStandardPaths::writableLocation(QStandardPaths::HomeLocation) + QDir::separator() + defaultName;
}

QString MainWindow::chooseArchive(const QString &defaultName, const QString &caption)
{
    EthernetHandler *handler = EthernetHandler::instance();
    const WaitGuard guard(this);
    if (!handler->hasTarget() || handler->catchLoader() != ERR_OK || !guard)
        return QString();
    // A cancelled dialog leaves the bootloader caught.
    const QString fileName =
        m_chooseFile(this, caption, dialogStart(defaultName), QStringLiteral(".fwa Files ( *.fwa )"));
    if (!guard || fileName.isEmpty())
        return QString();
    m_rememberedPath = fileName;
    return fileName;
}

errorCode_e MainWindow::writeArchive(const QString &fileName, bool firmware)
{
    FirmwareHandler flasher(EthernetHandler::instance());
    connect(&flasher, &FirmwareHandler::showProgress, this, &MainWindow::showProgress);
    return firmware ? flasher.writeFirmware(fileName) : flasher.writeKeys(fileName);
}

void MainWindow::on_btnFirmware_clicked()
{
    const QString fileName = chooseArchive(QStringLiteral("firmware.fwa"), QStringLiteral("Select Firmware file"));
    if (fileName.isEmpty())
        return;
    const WaitGuard guard(this);
    const errorCode_e result = writeArchive(fileName, true);
    if (!guard)
        return;
    if (result == ERR_OK)
        showStatus(QStringLiteral("Firmware successfully written"), true);
    else
        showStatus(QStringLiteral("ERROR: unable to write Firmware"), false);
}

void MainWindow::on_btnKeyUpdate_clicked()
{
    const QString fileName = chooseArchive(QStringLiteral("keyUpdate.fwa"), QStringLiteral("Select KeyUpdate file"));
    if (fileName.isEmpty())
        return;
    const WaitGuard guard(this);
    const errorCode_e result = writeArchive(fileName, false);
    if (!guard)
        return;
    if (result == ERR_OK)
        showStatus(QStringLiteral("Key Update successfully written"), true);
    else
        showStatus(QStringLiteral("ERROR: unable to write Key Update: ") + QString::number(result), false);
}

void MainWindow::on_btnGenFirmwareMagic_clicked()
{
    const QString fileName = m_chooseFile(this, QStringLiteral("Select Firmware file to update"),
                                          dialogStart(QStringLiteral("firmware.hex")),
                                          QStringLiteral(".hex Files ( *.hex )"));
    // Also a cancelled dialog is remembered: the next one starts afresh at
    // the default name in the home folder.
    m_rememberedPath = fileName;
    emit addMagicToHexFile(fileName, true);
}

void MainWindow::on_btnWriteDefaults_clicked()
{
    // Both fields are checked before anything goes to the unit: a MAC or an
    // address made up of zeros for the blanks would be burnt in for good.
    MAC_AND_IP record;
    if (!addressinput::parseIPv4(ui->txtdefaultIP->text(), record.ip)) {
        showStatus(QStringLiteral("ERROR: Please enter a valid ip address"), false);
        return;
    }
    // This group's field is the unit's own MAC ("MAC Addres:"); the target
    // MAC belongs to Net Cfg.
    if (!addressinput::parseMac(ui->txtDeviceMac->text(), record.mac)) {
        showStatus(QStringLiteral("ERROR: Please enter a valid MAC address"), false);
        return;
    }
    EthernetHandler *handler = EthernetHandler::instance();
    const WaitGuard guard(this);
    if (!handler->hasTarget() || handler->catchLoader() != ERR_OK || !guard)
        return;
    const errorCode_e result = handler->writeMacAndIP(record);
    if (!guard)
        return;
    if (result == ERR_OK)
        showStatus(QStringLiteral("Device Data successful written"), true);
    else
        showStatus(QStringLiteral("ERROR: Could not write device data. Already written?: ") + QString::number(result),
                   false);
}

void MainWindow::on_rdoNetCfgToDefaults_toggled(bool)
{
    const bool toDefaults = ui->rdoNetCfgToDefaults->isChecked();
    ui->txtNetCfgDesiredIP->setEnabled(!toDefaults);
    ui->txtNetCfgDesiredSubNet->setEnabled(!toDefaults);
}

void MainWindow::on_btnNetCfg_clicked()
{
    BCAST_NET_CONFIG record;
    if (!addressinput::parseMac(ui->txtNetCfgTargetMAC->text(), record.mac)) {
        showStatus(QStringLiteral("ERROR: Please enter a valid target mac address"), false);
        return;
    }
    if (ui->rdoNetCfgToDefaults->isChecked()) {
        record.mode = BCAST_NET_CONFIG::ResetToDefaults;
    } else {
        record.mode = BCAST_NET_CONFIG::UseGiven;
        if (!addressinput::parseIPv4(ui->txtNetCfgDesiredIP->text(), record.ip)) {
            showStatus(QStringLiteral("ERROR: Please enter a valid ip address"), false);
            return;
        }
        if (!addressinput::parseIPv4(ui->txtNetCfgDesiredSubNet->text(), record.subnet)) {
            showStatus(QStringLiteral("ERROR: Please enter a valid subnet mask"), false);
            return;
        }
    }
    EthernetHandler::instance()->configureNetBCast(record);
}

void MainWindow::on_btnShowLog_clicked()
{
    if (!ui->grpDebug->isHidden()) {
        const int before = width();
        const int delta = ui->grpDebug->width() + ui->centralWidget->layout()->contentsMargins().left();
        ui->grpDebug->hide();
        layout()->activate();
        resize(width() - delta, height());
        // The window may not get as narrow as asked (the left column has a
        // minimum width); widen later by what it really lost, so that
        // showing the log again gives the former width back.
        m_logNarrowing = before - width();
        ui->btnShowLog->setText(QStringLiteral("Show Log"));
    } else {
        resize(width() + m_logNarrowing, height());
        ui->grpDebug->show();
        ui->btnShowLog->setText(QStringLiteral("Hide Log"));
    }
}

void MainWindow::on_btnClearLog_clicked() { ui->CANLog->clear(); }

void MainWindow::writeToLog(QString msg) { ui->CANLog->append(msg); }

void MainWindow::on_actionAbout_triggered()
{
    m_about = new AboutDialog(EthernetHandler::instance(), nullptr);
    // The program ends with this window, not with the last About window.
    m_about->setAttribute(Qt::WA_QuitOnClose, false);
    m_abouts.removeAll(QPointer<AboutDialog>());
    m_abouts.append(m_about);
    m_about->show();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Whatever still waits on the unit ends now and sends nothing more; the
    // windows of the Help menu go with this one.
    EthernetHandler::instance()->closeLink();
    for (const QPointer<AboutDialog> &about : qAsConst(m_abouts)) {
        if (about) {
            about->hide();
            about->deleteLater();
        }
    }
    m_abouts.clear();
    m_license.hide();
    QMainWindow::closeEvent(event);
}

void MainWindow::on_actionLicense_triggered() { m_license.show(); }

void MainWindow::showProgress(QString message, uint8_t progress, bool visible)
{
    if (visible) {
        ui->lblProgress->setText(message);
        ui->interfaceNormal->setEnabled(false);
        // Its keys would open the menus under the overlay.
        ui->menuBar->setEnabled(false);
        ui->interfaceBlocker->show();
        ui->interfaceBlocker->raise();
        QCoreApplication::processEvents();
        // A child of the window itself, over all of it: its band and text
        // are centred on the window.
        ui->interfaceBlocker->setGeometry(rect());
        ui->progressBar->setValue(progress > 100 ? 100 : progress);
    } else {
        ui->interfaceBlocker->hide();
        ui->interfaceNormal->setEnabled(!m_commandLine);
        ui->menuBar->setEnabled(!m_commandLine);
    }
    QCoreApplication::processEvents();
}

} // namespace loader
