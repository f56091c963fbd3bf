#include "updatefirmware.h"
#include "ui_updatefirmware.h"

#include "device.h"
#include "ethernethandler.h"
#include "firmwareupdater.h"
#include "udpserver.h"
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
    const WaitGuard guard(this);
    const int32_t result = updater.updateFirmware(link->targetAddress(),
                                                  server ? server->localAddress() : QHostAddress(), fileName);
    if (!guard)
        return;
    ui->btnUpdate->setEnabled(true);
    if (result != 0) {
        qDebug() << " UPDATE FW failed";
        printNotification(tr("The Firmware update failed. Return code: %1").arg(updater.lastExitCode()), false,
                          QMessageBox::Critical, false);
    }
}

void UpdateFirmware::translateUiSlot(QWidget *)
{
    ui->lblCommonSettings->setText(tr("Update firmware"));
    ui->btnOpenDialog->setText(tr("..."));
    ui->label->setText(tr("Firmware:"));
    ui->btnUpdate->setText(tr("Update firmware"));
}
