#include "configactionbar.h"
#include "ui_configactionbar.h"

#include "confighandler.h"
#include "configtab.h"
#include "device.h"
#include "ethernethandler.h"
#include "requestgate.h"
#include "flowlayout.h"
#include "scalinghandlercont.h"

#include <QGridLayout>
#include <QStyle>
#include <cmath>

namespace {

Confighandler *model()
{
    return Device::instance()->confighandler();
}

EthernetHandler *ethernet()
{
    return Device::instance()->ethernetHandler();
}

} // namespace

ConfigActionBar::ConfigActionBar(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::ConfigActionBar)
{
    ui->setupUi(this);
    // In German the two buttons of a row side by side are wider than the
    // room beside the navigation tree of a 1024 px window (and at a small
    // scale the import and export pair, once the page needs its scroll
    // bar): the second goes under the first instead of past the page's
    // edge. Each row keeps to the right.
    if (auto *grid = qobject_cast<QGridLayout *>(layout())) {
        const int spacing = grid->horizontalSpacing() >= 0 ? grid->horizontalSpacing()
                                                           : style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
        const auto flowRow = [this, grid, spacing](int row, const char *name, QWidget *first, QWidget *second) {
            grid->removeWidget(first);
            grid->removeWidget(second);
            auto *buttons = new QWidget(this);
            buttons->setObjectName(QLatin1String(name));
            auto *flow = new FlowLayout(buttons);
            flow->setContentsMargins(0, 0, 0, 0);
            flow->setSpacing(spacing);
            flow->setAlignment(Qt::AlignRight);
            flow->addWidget(first);
            flow->addWidget(second);
            grid->addWidget(buttons, row, 0, 1, grid->columnCount());
        };
        // The rows' alignment keeps them right: the spacer before them goes.
        for (int n = grid->count() - 1; n >= 0; --n) {
            if (grid->itemAt(n)->spacerItem())
                delete grid->takeAt(n);
        }
        flowRow(0, "wdgFileButtons", ui->btnOpenConfig, ui->btnSaveConfig);
        flowRow(1, "wdgConfigButtons", ui->btnReadConfig, ui->btnWriteConfig);
        setTabOrder(ui->btnOpenConfig, ui->btnSaveConfig);
        setTabOrder(ui->btnSaveConfig, ui->btnReadConfig);
        setTabOrder(ui->btnReadConfig, ui->btnWriteConfig);
        // The buttons keep to the right through their rows' alignment; a
        // fixed left margin on top of it only made the bar wider than the
        // room beside the navigation tree at a small scale.
        QMargins margins = grid->contentsMargins();
        margins.setLeft(0);
        grid->setContentsMargins(margins);
    }
    for (QAbstractButton *button : {static_cast<QAbstractButton *>(ui->btnWriteConfig),
                                    static_cast<QAbstractButton *>(ui->btnSaveConfig)}) {
        connect(button, &QAbstractButton::pressed, this,
                [this, button] { pressCostAnEdit = configTab && configTab->editRefusedFor(button); });
    }
    connect(ethernet(), &EthernetHandler::connectionLost, this, &ConfigActionBar::lostconnection);
    connect(ethernet(), &EthernetHandler::connectionPing, this, &ConfigActionBar::connectionsuccesfull);
    connect(model(), &Confighandler::waitingForFeedbackFinished, this, &ConfigActionBar::saveFinished);
    ScaleFactorChange(ScalingHandlerCont::instance()->getScaleFactor());
}

ConfigActionBar::~ConfigActionBar()
{
    delete ui;
}

void ConfigActionBar::setConfigTab(ConfigTab *tab)
{
    if (tab)
        configTab = tab;
}

void ConfigActionBar::reportFailure(const QString &message, errorCode_e code)
{
    printNotification(message.arg(ErrorDecode::decode(code)).arg(code), false, QMessageBox::Critical, false);
}

bool ConfigActionBar::storePages()
{
    if (!configTab)
        return true;
    return configTab->commitPendingEdits();
}

void ConfigActionBar::saveFinished()
{
    // The model also ends a pending save when the link is lost; the button
    // must not come back for a unit that is gone.
    ui->btnWriteConfig->setEnabled(ethernet()->isConnected() && !busy);
}

bool ConfigActionBar::writeSequence()
{
    if (!storePages())
        return false;
    Confighandler *config = model();
    errorCode_e r = config->writeCFGDevice();
    if (r != ERR_OK) {
        // A stop the engineer chose in a conflict question reads like a
        // fault of the unit on its own; the note says what it means.
        const QString stopped = config->writeStoppedNote();
        QString message = tr("Write device configuration failed. Error: %1 Errorcode: %2")
                              .arg(ErrorDecode::decode(r))
                              .arg(r);
        if (!stopped.isEmpty())
            message += QLatin1Char('\n') + stopped;
        printNotification(message, false, QMessageBox::Critical, false);
        return false;
    }
    r = config->writeDevicename();
    if (r != ERR_OK) {
        reportFailure(tr("Write device name failed. Error: %1 Errorcode: %2"), r);
        return false;
    }
    for (uint8_t channel = 0; channel < 7; ++channel) {
        r = config->writeChannelname(channel);
        if (r != ERR_OK) {
            printNotification(tr("Write channel %3 name failed. Error: %1 Errorcode: %2")
                                  .arg(ErrorDecode::decode(r))
                                  .arg(r)
                                  .arg(channel + 1),
                              false, QMessageBox::Critical, false);
            return false;
        }
    }
    // Names the unit did not give when asked were left as it has them.
    const QString kept = config->unreadNamesNote();
    if (!kept.isEmpty())
        printNotification(kept, false, QMessageBox::Warning, false);
    return true;
}

bool ConfigActionBar::clickCostAnEdit()
{
    const bool cost = pressCostAnEdit;
    pressCostAnEdit = false;
    return cost;
}

void ConfigActionBar::on_btnWriteConfig_clicked()
{
    if (clickCostAnEdit() || busy)
        return;
    // The write and the start of the save are one sequence: the window stays
    // held until its last answer.
    const RequestHold hold;
    busy = true;
    const bool written = writeSequence();
    busy = false;
    if (written) {
        // Disabled before the save starts: a save the unit refuses at once
        // ends (and announces its end) inside the call.
        ui->btnWriteConfig->setEnabled(false);
        model()->saveConfigOnDevice(false);
    }
    ui->btnWriteConfig->setEnabled(ethernet()->isConnected() && !model()->waitingForFeedback());
}

void ConfigActionBar::on_btnReadConfig_clicked()
{
    updateConfig();
}

void ConfigActionBar::updateConfig()
{
    if (busy)
        return;
    const RequestHold hold;
    busy = true;
    readSequence();
    busy = false;
    ui->btnWriteConfig->setEnabled(ethernet()->isConnected() && !model()->waitingForFeedback());
}

void ConfigActionBar::readSequence()
{
    Confighandler *config = model();
    errorCode_e r = config->readDevicename();
    if (r != ERR_OK)
        reportFailure(tr("Read device name failed.\nError: %1\nErrorcode: %2"), r);
    for (uint8_t channel = 0; channel < 7; ++channel) {
        r = config->readChannelname(channel);
        if (r != ERR_OK)
            printNotification(tr("Read channel %3 name failed. Error: %1 Errorcode: %2")
                                  .arg(ErrorDecode::decode(r))
                                  .arg(r)
                                  .arg(channel),
                              false, QMessageBox::Critical, false);
    }
    r = config->readCFGDevice();
    if (r != ERR_OK)
        reportFailure(tr("Read configuration failed. Error: %1 Errorcode: %2"), r);
}

void ConfigActionBar::loadConfig()
{
    const errorCode_e r = model()->loadConfigFile();
    if (r == ERR_OK)
        return;
    // The reader knows why it refused the file (its version, where it
    // ends, a name that is no text): the engineer is told too.
    QString message = tr("Import configuration from file failed. Error: %1 Errorcode: %2")
                          .arg(ErrorDecode::decode(r))
                          .arg(r);
    const QString reason = model()->lastFileError();
    if (!reason.isEmpty())
        message += tr(" (%1)").arg(reason);
    printNotification(message, false, QMessageBox::Critical, false);
}

void ConfigActionBar::saveConfig()
{
    const errorCode_e r = model()->saveConfigFile();
    if (r != ERR_OK)
        reportFailure(tr("Export configuration to file failed. Error: %1 Errorcode: %2"), r);
}

void ConfigActionBar::on_btnOpenConfig_clicked()
{
    // The file dialog may stay open longer than the link watch waits. What
    // a heartbeat would start meanwhile (the question after a reconnect)
    // waits for its end.
    const RequestHold hold;
    ethernet()->pauseLinkWatch();
    loadConfig();
    ethernet()->resumeLinkWatch();
}

void ConfigActionBar::on_btnSaveConfig_clicked()
{
    if (clickCostAnEdit())
        return;
    const RequestHold hold;
    ethernet()->pauseLinkWatch();
    if (storePages()) {
        if (configTab)
            configTab->emitCurrentChannel();
        saveConfig();
    }
    ethernet()->resumeLinkWatch();
}

void ConfigActionBar::lostconnection()
{
    ui->btnReadConfig->setEnabled(false);
    ui->btnWriteConfig->setEnabled(false);
}

void ConfigActionBar::connectionsuccesfull(HearBeatMessage_t &states, QHostAddress sender)
{
    Q_UNUSED(states)
    Q_UNUSED(sender)
    // A heartbeat may arrive while a sequence waits on the unit; the write
    // button stays off until that sequence is over.
    ui->btnReadConfig->setEnabled(true);
    ui->btnWriteConfig->setEnabled(!model()->waitingForFeedback() && !busy);
}

void ConfigActionBar::ScaleFactorChange(double factor)
{
    for (QAbstractButton *button : {static_cast<QAbstractButton *>(ui->btnReadConfig),
                                    static_cast<QAbstractButton *>(ui->btnOpenConfig),
                                    static_cast<QAbstractButton *>(ui->btnSaveConfig),
                                    static_cast<QAbstractButton *>(ui->btnWriteConfig)})
        button->setMinimumWidth(button->sizeHint().width());
    const int side = int(std::lround(24 * factor));
    ui->btnOpenConfig->setIconSize(QSize(side, side));
    ui->btnSaveConfig->setIconSize(QSize(side, side));
    BaseWidget::ScaleFactorChange(factor);
}

void ConfigActionBar::translateUiSlot(QWidget *ptr)
{
    Q_UNUSED(ptr)
    ui->btnOpenConfig->setText(tr("Import Config"));
    ui->btnSaveConfig->setText(tr("Export Config"));
    ui->btnReadConfig->setText(tr("Read Config from Device"));
    ui->btnWriteConfig->setText(tr("Write Config to Device"));
    ScaleFactorChange(ScalingHandlerCont::instance()->getScaleFactor());
}
