#include "nicselectwidget.h"

#include <QComboBox>
#include <QDebug>
#include <QStyledItemDelegate>

#include "device.h"
#include "scalinghandlercont.h"
#include "ui_nicselectwidget.h"

NicSelectWidget::NicSelectWidget(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::NicSelectWidget)
{
    qRegisterMetaType<QNetworkAddressEntry>("QNetworkAddressEntry");
    ui->setupUi(this);
    ui->cmbNetworkInterface->setItemDelegate(new QStyledItemDelegate(this));
    BaseWidget::ScaleFactorChange(ScalingHandlerCont::instance()->getScaleFactor());

    // Connected before the list is filled: the first item already rebinds.
    connect(this, &NicSelectWidget::currentAddrEntrychanged, Device::instance(),
            &Device::currentNetworkEntrychanged);
    qDebug() << QNetworkInterface::allInterfaces();
    for (const Choice &choice : choices(systemInterfaces()))
        ui->cmbNetworkInterface->addItem(choice.text, QVariant::fromValue(choice.entry));
    on_cmbNetworkInterface_currentTextChanged(ui->cmbNetworkInterface->currentText());
}

NicSelectWidget::~NicSelectWidget()
{
    delete ui;
}

QList<NicSelectWidget::Interface> NicSelectWidget::systemInterfaces()
{
    QList<Interface> out;
    for (const QNetworkInterface &nic : QNetworkInterface::allInterfaces())
        out.append(Interface{nic.humanReadableName(), nic.flags(), nic.addressEntries()});
    return out;
}

QList<NicSelectWidget::Choice> NicSelectWidget::choices(const QList<Interface> &interfaces)
{
    QList<Choice> out;
    for (const Interface &nic : interfaces) {
        if (!nic.flags.testFlag(QNetworkInterface::IsUp) || !nic.flags.testFlag(QNetworkInterface::IsRunning))
            continue;
        for (const QNetworkAddressEntry &entry : nic.entries) {
            const QHostAddress ip = entry.ip();
            if (ip.isLoopback() || ip.isNull() || ip.protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            out.append(Choice{nic.name + QStringLiteral(" | IP: ") + ip.toString(), entry});
        }
    }
    return out;
}

QNetworkAddressEntry NicSelectWidget::currentAddressEntry() const
{
    const QVariant data = ui->cmbNetworkInterface->currentData(Qt::UserRole);
    if (!data.canConvert<QNetworkAddressEntry>())
        return QNetworkAddressEntry();
    return data.value<QNetworkAddressEntry>();
}

void NicSelectWidget::on_cmbNetworkInterface_currentTextChanged(QString)
{
    emit currentAddrEntrychanged(currentAddressEntry());
}

void NicSelectWidget::translateUiSlot(QWidget *)
{
    ui->lblNetworkInterface->setText(tr("Enter network interface"));
    ui->groupBox->setTitle(tr("Network interface"));
    ScaleFactorChange(ScalingHandlerCont::instance()->getScaleFactor());
}

void NicSelectWidget::ScaleFactorChange(double factor)
{
    BaseWidget::ScaleFactorChange(factor);
}
