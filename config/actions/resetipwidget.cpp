#include "resetipwidget.h"
#include "ui_resetipwidget.h"

#include "device.h"
#include "errordecode.h"
#include "ethernethandler.h"
#include "requestgate.h"
#include "networkinput.h"

ResetIpWidget::ResetIpWidget(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::ResetIpWidget)
{
    ui->setupUi(this);
    ui->leditnewIP->setText(QStringLiteral("192.168.0.100"));
    ui->leditnewSubnet->setText(QStringLiteral("255.255.255.0"));
}

ResetIpWidget::~ResetIpWidget()
{
    delete ui;
}

bool ResetIpWidget::buildRecord(BCAST_NET_CONFIG &record, uint16_t &mode, QString &problem) const
{
    BCAST_NET_CONFIG out;
    // An incomplete MAC would address some other unit, or none.
    if (!parseMacText(ui->leditMAC->text(), out.mac)) {
        problem = tr("The MAC address is incomplete. Please enter all six parts.");
        return false;
    }
    const bool useGiven = ui->rdioBtnNewNetwork->isChecked();
    const QHostAddress address = typedIpv4(ui->leditnewIP->text());
    const QHostAddress mask = typedIpv4(ui->leditnewSubnet->text());
    if (useGiven) {
        problem = networkSettingsProblem(address, mask);
        if (!problem.isEmpty())
            return false;
    }
    // The record carries the fields also when the unit returns to its
    // defaults; it ignores them then.
    out.setIp(address);
    out.setMask(mask);
    mode = useGiven ? BCAST_NET_CONFIG::UseGivenValues : BCAST_NET_CONFIG::ResetToDefaults;
    record = out;
    return true;
}

void ResetIpWidget::on_btnApplySet_clicked()
{
    BCAST_NET_CONFIG record;
    uint16_t mode = 0;
    QString problem;
    if (!buildRecord(record, mode, problem)) {
        printNotification(problem, false, QMessageBox::Critical, false);
        return;
    }
    const RequestHold hold;
    const errorCode_e result = Device::instance()->ethernetHandler()->resetNetworkSettings(record, mode);
    if (result != ERR_OK) {
        printNotification(tr("The network settings could not be sent to the unit %1. Error: %2 Errorcode: %3")
                              .arg(ui->leditMAC->text(), ErrorDecode::decode(result))
                              .arg(result),
                          false, QMessageBox::Critical, false);
        return;
    }
    printNotification(tr("The unit %1 has confirmed the network settings.").arg(ui->leditMAC->text()), false,
                      QMessageBox::Information, false);
}

void ResetIpWidget::on_rdioBtnNewNetwork_toggled(bool checked)
{
    ui->grpNewSett->setEnabled(checked);
}

void ResetIpWidget::translateUiSlot(QWidget *ptr)
{
    Q_UNUSED(ptr)
    ui->label_6->setText(tr("Reset Network Settings"));
    ui->groupBox_3->setTitle(tr("MAC Address of PPU"));
    ui->rdioBtnDefNetwork->setText(tr("Use Default Network Settings"));
    ui->rdioBtnNewNetwork->setText(tr("Use New Network Settings"));
    ui->grpNewSett->setTitle(tr("New Network Settings"));
    ui->groupBox->setTitle(tr("New Ip Address"));
    ui->groupBox_2->setTitle(tr("New Subnet mask"));
    ui->btnApplySet->setText(tr("Apply"));
}
