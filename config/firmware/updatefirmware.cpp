#include "updatefirmware.h"
#include "ui_updatefirmware.h"

#include "device.h"
#include "ethernethandler.h"
#include "firmwareupdater.h"
#include "udpserver.h"
#include "requestgate.h"
#include "waitguard.h"

#include <QDebug>
#include <QFileDialog>
#include <QFileInfo>

UpdateFirmware::UpdateFirmware(QWidget *parent) : BaseWidget(parent), ui(new Ui::UpdateFirmware)
{
    ui->setupUi(this);
    m_chooseFile = [](QWidget *owner, const QString &caption, const QString &filter) {
        return QFileDialog::getOpenFileName(owner, caption, QString(), filter);
    };
}

UpdateFirmware::~UpdateFirmware()
{
    delete ui;
}

void UpdateFirmware::setLink(EthernetHandler *link, UDPServer *server)
{
    m_link = link;
    m_server = server;
}

void UpdateFirmware::setLoaderLookup(const QString &workingDir, const QString &programDir, int timeoutMs)
{
    m_workingDir = workingDir;
    m_programDir = programDir;
    m_timeoutMs = timeoutMs;
}

void UpdateFirmware::on_btnOpenDialog_clicked()
{
    const QString extension = QStringLiteral("fwa");
    const QString filter = QStringLiteral("FWA file ( *.") + extension + QStringLiteral(" ) ");
    QString name = m_chooseFile(this, tr("Load firmware fwa"), filter);
    if (name.isNull())
        return;
    if (name.trimmed().isEmpty()) {
        printNotification(tr("No File selected?"), false, QMessageBox::Warning, false);
        return;
    }
    if (!name.endsWith(extension))
        name += QLatin1Char('.') + extension;
    ui->leditFile->setText(name);
}

void UpdateFirmware::on_btnUpdate_clicked()
{
    // One update at a time: the button stays off until this one is over.
    if (!ui->btnUpdate->isEnabled())
        return;
    const QString fileName = ui->leditFile->text();
    if (fileName.isEmpty() || !QFileInfo::exists(fileName)) {
        printNotification(tr("No Firmware update possible. File not valid/found"), false, QMessageBox::Critical,
                          false);
        return;
    }

    EthernetHandler *link = m_link;
    UDPServer *server = m_server;
    if (!link) {
        link = Device::instance()->ethernetHandler();
        server = Device::instance()->udpServer();
    }
    FirmwareUpdater updater(link);
    if (!m_workingDir.isEmpty() || !m_programDir.isEmpty()) {
        updater.setLookup(m_workingDir, m_programDir);
        updater.setTimeoutMs(m_timeoutMs);
    }

    ui->btnUpdate->setEnabled(false);
    m_updating = true;
    const WaitGuard guard(this);
    int32_t result = 0;
    {
        // Nothing else goes to the unit while the loader writes it: the
        // window is held, and what a heartbeat would start (the question
        // after the reconnect) waits for the update's end.
        const RequestHold hold;
        result = updater.updateFirmware(link->targetAddress(), server ? server->localAddress() : QHostAddress(),
                                        fileName);
    }
    if (!guard)
        return;
    m_updating = false;
    ui->btnUpdate->setEnabled(true);
    emit updateEnded(result);
    if (result != 0) {
        qDebug() << " UPDATE FW failed";
        printNotification(failureMessage(updater), false, QMessageBox::Critical, false);
    } else {
        // The engineer may have been told to wait for the update's end:
        // a success is said as well.
        printNotification(tr("The Firmware update has ended successfully."), false, QMessageBox::Information,
                          false);
    }
}

QString UpdateFirmware::failureMessage(const FirmwareUpdater &updater)
{
    QString reason;
    switch (updater.lastOutcome()) {
    case LoaderLaunch::Outcome::Finished:
        reason = tr("KorvantisLoader reported %1").arg(updater.lastExitCode());
        break;
    case LoaderLaunch::Outcome::NotFound:
        reason = tr("KorvantisLoader was not found");
        break;
    case LoaderLaunch::Outcome::NotStarted:
        reason = tr("KorvantisLoader could not be started: %1").arg(updater.lastErrorText());
        break;
    case LoaderLaunch::Outcome::Crashed:
        reason = tr("KorvantisLoader crashed or was killed");
        break;
    case LoaderLaunch::Outcome::TimedOut:
        reason = tr("KorvantisLoader was stopped after %1 s").arg(updater.timeoutMs() / 1000);
        break;
    case LoaderLaunch::Outcome::NotEnded:
        reason = tr("KorvantisLoader did not end");
        break;
    case LoaderLaunch::Outcome::Busy:
        reason = tr("another KorvantisLoader run was still going on");
        break;
    }
    return tr("The Firmware update failed. Return code: %1").arg(updater.lastExitCode())
           + tr(" (step %1: %2)").arg(updater.lastStep(), reason);
}

void UpdateFirmware::translateUiSlot(QWidget *)
{
    ui->lblCommonSettings->setText(tr("Update firmware"));
    ui->btnOpenDialog->setText(tr("..."));
    ui->label->setText(tr("Firmware:"));
    ui->btnUpdate->setText(tr("Update firmware"));
}
