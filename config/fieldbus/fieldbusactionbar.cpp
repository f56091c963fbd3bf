#include "fieldbusactionbar.h"

#include <QEventLoop>
#include <QMutex>
#include <QTimer>

#include "device.h"
#include "requestgate.h"
#include "ui_fieldbusactionbar.h"
#include "waitguard.h"

namespace {

// Shared by every bar: held for the whole of an apply.
QMutex &applyMutex()
{
    static QMutex mutex;
    return mutex;
}

int g_ticks = 0;  // progress ticks of the running module reset, 0 when none runs
int g_tickMs = 1000;
int g_feedbackTimeoutMs = 10000;
constexpr int kResetTicks = 10;

} // namespace

FieldbusActionbar::FieldbusActionbar(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::FieldbusActionbar)
{
    ui->setupUi(this);
}

FieldbusActionbar::~FieldbusActionbar() { delete ui; }

void FieldbusActionbar::setTimings(int tickMs, int feedbackTimeoutMs)
{
    g_tickMs = tickMs;
    g_feedbackTimeoutMs = feedbackTimeoutMs;
}

bool FieldbusActionbar::isApplying()
{
    if (!applyMutex().tryLock())
        return true;
    applyMutex().unlock();
    return false;
}

void FieldbusActionbar::reportFailure(const QString &message)
{
    printNotification(message, false, QMessageBox::Critical, false);
}

void FieldbusActionbar::on_btnResetAnybusMod_clicked()
{
    // A record neither read from this unit nor loaded from a file holds
    // nothing of the module's own settings (after connecting it is the empty
    // one): writing it would wipe the module's address and names.
    if (!Device::instance()->confighandler()->anybusCFGWritable()) {
        reportFailure(tr("Nothing was written: this unit's fieldbus configuration has not been read yet. "
                         "Click \"Read Fieldbus Configuration\" first (or load a configuration file)."));
        return;
    }
    // Every wait below runs the event loop, so the button can be clicked
    // again meanwhile; blocking on the lock here would freeze the program.
    if (!applyMutex().tryLock()) {
        reportFailure(tr("The fieldbus configuration is still being applied. Please wait until it has finished."));
        return;
    }
    struct Release
    {
        ~Release() { applyMutex().unlock(); }
    } release;
    // Write, question, save and reset: one sequence, the window held.
    const RequestHold hold;

    Confighandler *config = Device::instance()->confighandler();
    EthernetHandler *handler = Device::instance()->ethernetHandler();
    const WaitGuard guard(this);

    const errorCode_e written = handler->writeAnybusCFG(config->getAnybusCFG());
    if (!guard)
        return;
    if (written != ERR_OK) {
        reportFailure(tr("Failed to write the fieldbus config to the Device! Errorcode: %1").arg(written));
        return;
    }
    config->saveConfigOnDevice(false);
    if (!guard)
        return;

    int32_t answer = 0;
    emit printMessageboxwrapper({tr("No"), tr("Yes")}, tr("Read Config"),
                                tr("Do you want to reset the fieldbus module to apply the settings?"),
                                QMessageBox::Information, &answer);
    if (!guard)
        return;

    if (config->waitingForFeedback()) {
        QEventLoop loop;
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(config, &Confighandler::waitingForFeedbackFinished, &loop, &QEventLoop::quit);
        guard.endWith(loop);
        timeout.start(g_feedbackTimeoutMs);
        loop.exec();
        if (!guard)
            return;
    }
    if (answer != 1)
        return;

    emit handler->initProgressbar(tr("Reset Fieldbus module"), kResetTicks);
    {
        QEventLoop loop;
        QTimer tick;
        connect(&tick, &QTimer::timeout, &loop, [&] {
            ++g_ticks;
            emit handler->updateProgressbar(uint32_t(g_ticks));
            if (g_ticks >= kResetTicks)
                loop.quit();
        });
        guard.endWith(loop);
        tick.start(g_tickMs);
        loop.exec();
        tick.stop();
        g_ticks = 0;
    }
    // The page went away during the progress: no reset goes out for it,
    // but the progress bar must not stay behind.
    if (guard)
        sendFieldbusmoduleReset();
    emit handler->deinitProgressbar();
}

void FieldbusActionbar::on_btnReadFieldCfg_clicked()
{
    const RequestHold hold;
    const WaitGuard guard(this);
    const errorCode_e result = Device::instance()->confighandler()->readCFGFieldbus();
    if (guard && result != ERR_OK)
        reportFailure(tr("Failed to read the fieldbus config from the Device! Errorcode: %1").arg(result));
}

void FieldbusActionbar::sendFieldbusmoduleReset()
{
    const WaitGuard guard(this);
    const errorCode_e result = Device::instance()->ethernetHandler()->resetFieldbusModule();
    if (guard && result != ERR_OK)
        reportFailure(tr("Failed to reset the fieldbus module! Errorcode: %1").arg(result));
}

void FieldbusActionbar::switchFtp(bool enable)
{
    const WaitGuard guard(this);
    const errorCode_e result = Device::instance()->ethernetHandler()->setFieldbusFtp(enable);
    if (!guard)
        return;
    if (result != ERR_OK) {
        reportFailure(enable ? tr("Failed enable FTP of Fieldbus module! Errorcode: %1").arg(result)
                             : tr("Failed disbable FTP of Fieldbus module! Errorcode: %1").arg(result));
        return;
    }
    sendFieldbusmoduleReset();
}

void FieldbusActionbar::on_btnenFTP_clicked() { switchFtp(true); }

void FieldbusActionbar::on_btndisFTP_clicked() { switchFtp(false); }

void FieldbusActionbar::translateUiSlot(QWidget *)
{
    ui->retranslateUi(this);
    ui->btnReadFieldCfg->setMinimumWidth(ui->btnReadFieldCfg->sizeHint().width());
    ui->btnResetAnybusMod->setMinimumWidth(ui->btnResetAnybusMod->sizeHint().width());
}
