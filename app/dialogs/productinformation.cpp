#include "productinformation.h"


#include "device.h"
#include "dialogsresources.h"
#include "productinfotext.h"
#include "scalinghandlercont.h"
#include "ui_productinformation.h"
#include "waitguard.h"

ProductInformation::ProductInformation(QWidget *parent)
    : BaseWidget(parent)
    , ui((initDialogsResources(), new Ui::ProductInformation))
{
    ui->setupUi(this);
    const int s = qRound(24 * ScalingHandlerCont::instance()->getScaleFactor());
    ui->toolButton->setIconSize(QSize(s, s));
    showPage(ui->page_2);
    connect(ui->toolButton, &QToolButton::clicked, this, &ProductInformation::triggerReadout);
}

ProductInformation::~ProductInformation()
{
    delete ui;
}

QString ProductInformation::firmwareText(const ProductInfoRecord &record)
{
    QString text = firmwareVersionText(record);
    if (record.firmwareModified != 0)
        text += tr("m");
    return text;
}

bool ProductInformation::showsInformation() const
{
    return ui->stackedWidget->currentWidget() == ui->page;
}

// Only the shown page takes height: the other one's vertical policy is
// Ignored.
void ProductInformation::showPage(QWidget *page)
{
    for (QWidget *p : {ui->page, ui->page_2}) {
        QSizePolicy policy = p->sizePolicy();
        policy.setVerticalPolicy(p == page ? QSizePolicy::Preferred : QSizePolicy::Ignored);
        p->setSizePolicy(policy);
    }
    ui->stackedWidget->setCurrentWidget(page);
}

void ProductInformation::triggerReadout()
{
    ProductInfoRecord record;
    const WaitGuard guard(this);
    const errorCode_e result = Device::instance()->ethernetHandler()->readProductInfo(&record);
    // The wait ran the event loop: the page may be gone.
    if (!guard)
        return;
    if (result != ERR_OK) {
        showPage(ui->page_2);
        return;
    }
    showPage(ui->page);
    ui->lblFWVersion->setText(firmwareText(record));
    ui->lblHWRev->setText(QString::number(record.hardwareRevision));
    ui->lblFlashProt->setText(QString::number(record.flashProtocolVersion));
    ui->lblEthProt->setText(QString::number(record.ethernetProtocolVersion));
}

void ProductInformation::translateUiSlot(QWidget *)
{
    // The value labels keep what they show; retranslateUi would not touch
    // them either, as their texts are not translated.
    ui->retranslateUi(this);
}
