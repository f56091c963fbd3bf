#include "resetdefaultconfig.h"
#include "ui_resetdefaultconfig.h"

#include "device.h"
#include "errordecode.h"
#include "ethernethandler.h"
#include "requestgate.h"
#include "flowlayout.h"
#include "scalinghandlercont.h"

#include <QLayout>
#include <QStyle>
#include <cmath>

ResetDefaultConfig::ResetDefaultConfig(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::ResetDefaultConfig)
{
    ui->setupUi(this);
    // Title and button side by side where they fit, else the button under
    // the title: in German both together are wider than the room beside
    // the navigation tree of a 1024 px window.
    if (QLayout *grid = layout()) {
        const QMargins margins = grid->contentsMargins();
        const int spacing = grid->spacing();
        grid->removeWidget(ui->lblCommonSettings);
        grid->removeWidget(ui->btnReset);
        delete grid;
        auto *flow = new FlowLayout(this);
        flow->setContentsMargins(margins);
        flow->setSpacing(spacing >= 0 ? spacing : style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing));
        flow->addWidget(ui->lblCommonSettings);
        flow->addWidget(ui->btnReset);
        flow->setAlignment(ui->btnReset, Qt::AlignRight | Qt::AlignVCenter);
    }
    const int side = int(std::lround(24 * ScalingHandlerCont::instance()->getScaleFactor()));
    ui->btnReset->setIconSize(QSize(side, side));
}

ResetDefaultConfig::~ResetDefaultConfig()
{
    delete ui;
}

void ResetDefaultConfig::on_btnReset_clicked()
{
    EthernetHandler *handler = Device::instance()->ethernetHandler();
    if (!handler->isConnected()) {
        printNotification(tr("Not Connected to Device"), false, QMessageBox::Warning, false);
        return;
    }
    const RequestHold hold;
    int32_t answer = 0;
    emit printMessageboxwrapper(
        {tr("Cancel"), tr("Yes")}, tr("Apply Config changes"),
        tr("Do you want to Reset the configuration of the Device?\nThis includes the connectivity Settings!\nThe "
           "device will reset and the connection will be lost!\nA reconnect may be necessary depending on your "
           "current Connection Settings."),
        QMessageBox::Information, &answer);
    if (answer != 1)
        return;
    const errorCode_e result = handler->resetDefaultConfig();
    if (result != ERR_OK) {
        printNotification(tr("The reset to default Operation failed. Error: %1 Errorcode: %2")
                              .arg(ErrorDecode::decode(result))
                              .arg(result),
                          false, QMessageBox::Critical, false);
        return;
    }
    // Said, so that the lost connection that follows is no surprise.
    printNotification(tr("The Device resets its configuration to the defaults."), false, QMessageBox::Information,
                      false);
}

void ResetDefaultConfig::translateUiSlot(QWidget *ptr)
{
    Q_UNUSED(ptr)
    ui->lblCommonSettings->setText(tr("Reset Default Configuration"));
    ui->btnReset->setText(tr("Reset Configuration"));
}
