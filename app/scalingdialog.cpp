#include "scalingdialog.h"

#include "scalinghandlercont.h"
#include "ui_scalingdialog.h"

ScalingDialog::ScalingDialog(QWidget *parent)
    : BaseDialog(parent)
    , ui(new Ui::ScalingDialog)
    , iniPath(QStringLiteral("cfg.ini"))
{
    ui->setupUi(this);
    ui->cmbScaleSel->addItem(tr("Small ( 50% )"), 0.5);
    ui->cmbScaleSel->addItem(tr("Regular ( 100% )"), 1.0);
    ui->cmbScaleSel->addItem(tr("Large ( 200% )"), 2.0);
    ui->spnFactor->setVisible(false);
    ui->spnFactor->setEnabled(false);
    selectStoredFactor();
    const double factor = ScalingHandlerCont::instance()->getScaleFactor();
    ScaleFactorChange(factor);
    // Its few controls keep together at the form's size: the dialog page
    // would otherwise stretch the dialog over the whole window.
    const QSize form = size();
    setMaximumSize(QSize(qRound(form.width() * factor), qRound(form.height() * factor))
                       .expandedTo(minimumSizeHint()));
}

ScalingDialog::~ScalingDialog()
{
    delete ui;
}

void ScalingDialog::setIniPath(const QString &path)
{
    iniPath = path;
    selectStoredFactor();
}

void ScalingDialog::selectStoredFactor()
{
    const double stored = ScalingHandlerCont::readScaling(iniPath);
    ui->cmbScaleSel->setCurrentIndex(1);
    const int found = ui->cmbScaleSel->findData(stored);
    if (found >= 0)
        ui->cmbScaleSel->setCurrentIndex(found);
}

int ScalingDialog::currentIndex() const
{
    return ui->cmbScaleSel->currentIndex();
}

double ScalingDialog::chosenFactor() const
{
    return ui->spnFactor->value();
}

void ScalingDialog::on_cmbScaleSel_currentIndexChanged(int index)
{
    if (index < 0)
        return;
    ui->spnFactor->setValue(ui->cmbScaleSel->itemData(index).toDouble());
}

void ScalingDialog::on_btnApply_clicked()
{
    ScalingHandlerCont::writeScaling(ui->spnFactor->value(), iniPath);
    dialogResult = kRestartCode;
    emit DialogFinished();
}

void ScalingDialog::on_btnExit_clicked()
{
    dialogResult = -1;
    emit DialogFinished();
}

void ScalingDialog::on_spnFactor_editingFinished()
{
}

void ScalingDialog::translateUiSlot(QWidget *)
{
    ui->groupBox->setTitle(tr("Scaling factor"));
    ui->btnExit->setText(tr("Exit"));
    ui->btnApply->setText(tr("Apply and Restart Application"));
}
