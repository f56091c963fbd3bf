#include "configconnectparams.h"
#include "ui_configconnectparams.h"

#include "confighandler.h"
#include "device.h"
#include "ethernethandler.h"
#include "requestgate.h"
#include "networkinput.h"

#include <QDebug>
#include <QSignalBlocker>

namespace {

Confighandler *model()
{
    return Device::instance()->confighandler();
}

void setTextQuietly(QLineEdit *edit, const QString &text)
{
    const QSignalBlocker blocker(edit);
    edit->setText(text);
}

} // namespace

ConfigConnectParams::ConfigConnectParams(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::ConfigConnectParams)
{
    ui->setupUi(this);
    connect(model(), &Confighandler::ConfigConnectivitychanged, this,
            &ConfigConnectParams::updateConfigConnectivity);
    connect(model(), &Confighandler::waitingForFeedbackFinished, this, &ConfigConnectParams::saveFinished);
}

ConfigConnectParams::~ConfigConnectParams()
{
    delete ui;
}

void ConfigConnectParams::updateConfigConnectivity(CFG_ConnectionParameters_struct newcfgentry)
{
    setTextQuietly(ui->leditNewRemIP, newcfgentry.ipAddress().toString());
    setTextQuietly(ui->leditNewRemMsk, newcfgentry.subnetMask().toString());
}

void ConfigConnectParams::reportFailure(const QString &message)
{
    printNotification(message, false, QMessageBox::Critical, false);
}

void ConfigConnectParams::on_btnApplyNetwork_clicked()
{
    const QString ipText = ui->leditNewRemIP->text();
    const QString maskText = ui->leditNewRemMsk->text();
    const QHostAddress address = typedIpv4(ipText);
    const QHostAddress mask = typedIpv4(maskText);
    // Settings that would leave the unit unreachable are refused before
    // anything is asked or sent.
    const QString problem = networkSettingsProblem(address, mask);
    if (!problem.isEmpty()) {
        reportFailure(problem);
        return;
    }

    const QString question =
        tr("Are you sure you want to set/save this value? \nIf you confirm, please make sure to remember the "
           "IP!\nThe Device may not be in a reachable IP Range after a System Reset!")
        + QStringLiteral("\n\n") + tr("New IP:") + QLatin1Char('\t') + ipText + QLatin1Char('\n')
        + tr("New Netmask:") + QLatin1Char('\t') + maskText;
    // From the question to the start of the save: one sequence.
    const RequestHold hold;
    int32_t answer = 0;
    emit printMessageboxwrapper({tr("Discard"), tr("Confirm")}, tr("Confirm changes"), question,
                                QMessageBox::Information, &answer);
    if (answer != 1) {
        model()->emitConfigChanged();
        return;
    }

    Confighandler *config = model();
    EthernetHandler *handler = Device::instance()->ethernetHandler();
    const QHostAddress oldAddress = config->getIpAddress();
    const QHostAddress oldMask = config->getSubnetMask();
    // Takes a failed change back: the unit gets its old values again (what
    // it already took of the new ones, perhaps with its answer lost, must
    // not be saved by a later save), the model its stored ones, and the
    // fields keep the typed text so that the engineer can try again.
    auto takeBack = [&] {
        if (handler->isConnected()) {
            if (handler->writeIPAddress(oldAddress) != ERR_OK)
                qDebug() << "could not restore the unit's IP address";
            if (handler->writeNetmask(oldMask) != ERR_OK)
                qDebug() << "could not restore the unit's net mask";
        }
        config->setNetworkSettings(oldAddress, oldMask, false);
        setTextQuietly(ui->leditNewRemIP, ipText);
        setTextQuietly(ui->leditNewRemMsk, maskText);
    };

    // The model writes the address, then the mask, and reports a failed
    // write itself.
    if (config->setNetworkSettings(address, mask, true) != ERR_OK) {
        takeBack();
        return;
    }
    config->saveConfigOnDevice(false);
    if (!config->waitingForFeedback()) {
        // The save did not start (the model has said why).
        takeBack();
        return;
    }
    // The unit confirms the save with its later heartbeats; the note waits
    // for that, since a save the unit reports as failed needs no reset.
    resetNotePending = true;
}

void ConfigConnectParams::saveFinished()
{
    if (!resetNotePending)
        return;
    resetNotePending = false;
    if (model()->lastSaveSucceeded())
        printNotification(tr("To apply this changes a Reset is necessary"), false, QMessageBox::Information, false);
}

void ConfigConnectParams::translateUiSlot(QWidget *ptr)
{
    Q_UNUSED(ptr)
    ui->groupBox_3->setTitle(tr("PPU IP"));
    ui->groupBox_6->setTitle(tr("Net Mask"));
    ui->lblNetworkSettings->setText(tr("PPU Network Settings"));
    ui->btnApplyNetwork->setText(tr("Apply"));
    model()->emitConfigChanged();
}
