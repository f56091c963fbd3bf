#include "configcommonparams.h"
#include "ui_configcommonparams.h"

#include "confighandler.h"
#include "device.h"
#include "mousewheelscrollprotect.h"

#include <QApplication>
#include <QStyledItemDelegate>

namespace {

Confighandler *model()
{
    return Device::instance()->confighandler();
}

} // namespace

ConfigCommonParams::ConfigCommonParams(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::ConfigCommonParams)
{
    ui->setupUi(this);
    for (QWidget *w : {static_cast<QWidget *>(ui->spnSWDeadtime), static_cast<QWidget *>(ui->cmbOutputInversion),
                       static_cast<QWidget *>(ui->cmbOutputselect)}) {
        auto *filter = new MouseWheelScrollProtect(w, true);
        w->installEventFilter(filter);
    }
    ui->cmbOutputselect->setItemDelegate(new QStyledItemDelegate(this));
    ui->cmbOutputInversion->setItemDelegate(new QStyledItemDelegate(this));
    connect(ui->spnSWDeadtime, &QSpinBox::editingFinished, this, &ConfigCommonParams::saveCommonParams);
    connect(model(), &Confighandler::ConfigDevicechanged, this, &ConfigCommonParams::updateConfigDevice);
    connect(model(), &Confighandler::Devicenamechanged, this, &ConfigCommonParams::updateDevicename);
}

ConfigCommonParams::~ConfigCommonParams()
{
    delete ui;
}

void ConfigCommonParams::updateConfigDevice(CFG_Device_Param_struct newcfgentry)
{
    ui->cmbOutputInversion->setEnabled(newcfgentry.outputSelect() != 1);
    {
        const QSignalBlocker blocker(ui->cmbOutputselect);
        ui->cmbOutputselect->setCurrentIndex(newcfgentry.outputSelect());
    }
    {
        const QSignalBlocker blocker(ui->cmbOutputInversion);
        ui->cmbOutputInversion->setCurrentIndex(newcfgentry.outputInversion());
    }
    ui->spnSWDeadtime->setValue(newcfgentry.debounceTime());
}

void ConfigCommonParams::saveCommonParams()
{
    // Text typed into the spin box but not yet confirmed (a channel switch
    // by mouse leaves the focus where it was) is taken over too.
    ui->spnSWDeadtime->interpretText();
    CFG_Device_Param_struct block = model()->getDeviceConfig();
    block.setDebounceTime(uint16_t(ui->spnSWDeadtime->value()));
    block.setOutputSelect(uint8_t(ui->cmbOutputselect->currentIndex()));
    block.setOutputInversion(uint8_t(ui->cmbOutputInversion->currentIndex()));
    model()->setDeviceConfig(block);
}

void ConfigCommonParams::updateDevicename(QString newDevicename)
{
    const QSignalBlocker blocker(ui->leditDeviceName);
    ui->leditDeviceName->setText(newDevicename);
}

void ConfigCommonParams::on_cmbOutputselect_currentIndexChanged(int)
{
    // Refilling the combos while re-texting is no edit.
    if (translationInProgress)
        return;
    saveCommonParams();
}

void ConfigCommonParams::on_cmbOutputInversion_currentIndexChanged(int)
{
    if (translationInProgress)
        return;
    saveCommonParams();
}

void ConfigCommonParams::on_leditDeviceName_editingFinished()
{
    commitDeviceName();
}

bool ConfigCommonParams::commitDeviceName()
{
    if (!ui->leditDeviceName->isModified())
        return true;
    const QString name = ui->leditDeviceName->text();
    // Taken before the refusal is shown, which may move the focus.
    const bool focusLeft = QApplication::focusWidget() != ui->leditDeviceName;
    const errorCode_e r = model()->setDevicename(name);
    if (r == ERR_OK)
        return true;
    QString reason = Confighandler::deviceNameProblem(name);
    if (reason.isEmpty())
        reason = ErrorDecode::decode(r);
    printNotification(reason, false, QMessageBox::Critical, false);
    // Setting the kept name also ends the modification.
    updateDevicename(model()->deviceName());
    if (focusLeft)
        emit editRefused();
    return false;
}

void ConfigCommonParams::translateUiSlot(QWidget *)
{
    ui->retranslateUi(this);
    model()->emitConfigChanged();
}
