#include "fieldbusactionbar.h"

#include <QEvent>
#include <QEventLoop>
#include <QMutex>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include "device.h"
#include "flowlayout.h"
#include "ipaddresstext.h"
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
    // In German the four buttons side by side are wider than the page beside
    // the navigation tree of a 1024 px window: they go on as many right-
    // aligned rows as they need instead of being squeezed into one row.
    if (QLayout *row = layout()) {
        const QMargins margins = row->contentsMargins();
        const int spacing = row->spacing();
        delete row;
        auto *flow = new FlowLayout(this);
        flow->setContentsMargins(margins);
        flow->setSpacing(spacing >= 0 ? spacing : style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing));
        flow->setAlignment(Qt::AlignRight);
        for (QPushButton *button : buttons())
            flow->addWidget(button);
    }
    for (QPushButton *button : buttons())
        button->installEventFilter(this);
    fitButtons();
}

QList<QPushButton *> FieldbusActionbar::buttons() const
{
    return {ui->btndisFTP, ui->btnenFTP, ui->btnReadFieldCfg, ui->btnResetAnybusMod};
}

void FieldbusActionbar::fitButtons()
{
    // Never narrower than the caption in the font the style sheet gives it.
    for (QPushButton *button : buttons())
        button->setMinimumWidth(button->sizeHint().width());
}

bool FieldbusActionbar::eventFilter(QObject *watched, QEvent *event)
{
    // The style sheet (and with it the font) comes when a button is
    // polished, and again on every change of the scale.
    switch (event->type()) {
    case QEvent::Polish:
    case QEvent::StyleChange:
    case QEvent::FontChange:
        if (auto *button = qobject_cast<QPushButton *>(watched))
            button->setMinimumWidth(button->sizeHint().width());
        break;
    default:
        break;
    }
    return BaseWidget::eventFilter(watched, event);
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

QString FieldbusActionbar::moduleName(uint16_t networkType)
{
    const QString name = FieldbusStatusRecord::networkTypeName(networkType);
    const QString code = QStringLiteral("0x") + QString::number(networkType, 16).toUpper().rightJustified(2, '0');
    return name.isEmpty() ? tr("network type %1").arg(code) : QStringLiteral("%1 (%2)").arg(name, code);
}

namespace {

QString capitalized(QString text)
{
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

} // namespace

QString FieldbusActionbar::recordProblem()
{
    Confighandler *config = Device::instance()->confighandler();
    // The network type and the settings after it belong to the module the
    // record was made for; another module must never get them.
    const uint16_t unitType = Device::instance()->ethernetHandler()->lastHeartbeat().fieldbus.networkType;
    const uint16_t recordType = config->getAnybusCFG().networkType();
    if (!FieldbusStatusRecord::isModule(unitType))
        return tr("this unit reports no fieldbus module.");
    if (FieldbusStatusRecord::isModule(recordType) && recordType != unitType)
        return tr("the fieldbus configuration on this page is made for a module of type %1, but this unit's module "
                  "is of type %2. Click \"Read Fieldbus Configuration\" to edit the unit's own settings, or load a "
                  "configuration file made for a module of type %2.")
            .arg(moduleName(recordType), moduleName(unitType));
    // A record neither read from this unit nor loaded from a file for it
    // holds nothing of the module's own settings (after connecting it is
    // the empty one or another unit's; after a reset the unit holds its
    // defaults): writing it would wipe or take over the module's address
    // and names.
    switch (config->anybusOrigin()) {
    case Confighandler::AnybusOrigin::Writable:
    case Confighandler::AnybusOrigin::FileOfOtherUnit:
        break;
    case Confighandler::AnybusOrigin::NotRead:
        if (config->getAnybusCFG() == Anybus_cfg())
            return tr("this unit's fieldbus configuration has not been read yet. Click \"Read Fieldbus "
                      "Configuration\" first (or load a configuration file).");
        return tr("the fieldbus configuration on this page has not been read from this unit since it was connected. "
                  "Click \"Read Fieldbus Configuration\" first (or load a configuration file of this unit).");
    case Confighandler::AnybusOrigin::UnitReset:
        return tr("the unit's configuration was reset after its fieldbus configuration was read, so the page no "
                  "longer shows what the unit holds. Click \"Read Fieldbus Configuration\" first.");
    case Confighandler::AnybusOrigin::NetworkReset:
        return tr("the unit's network settings were reset (\"Reset Network Settings\") after its fieldbus "
                  "configuration was read, so the page may no longer show what the unit holds. Click \"Read "
                  "Fieldbus Configuration\" first.");
    case Confighandler::AnybusOrigin::FileBeforeConnect:
        return tr("the configuration file was loaded before this unit was connected, so its fieldbus configuration "
                  "is not taken for this unit. Load the file again now that the unit is connected, or click \"Read "
                  "Fieldbus Configuration\".");
    }
    return QString();
}

QString FieldbusActionbar::applyRefusal()
{
    const QString problem = recordProblem();
    return problem.isEmpty() ? QString() : tr("Nothing was written: %1").arg(problem);
}

QString FieldbusActionbar::otherUnitsFile()
{
    Confighandler *config = Device::instance()->confighandler();
    if (config->anybusOrigin() != Confighandler::AnybusOrigin::FileOfOtherUnit)
        return QString();
    if (config->anybusMac().isEmpty())
        return tr("The fieldbus configuration on this page comes from a configuration file that does not name the "
                  "unit it was read from.");
    const QByteArray own = config->anybusConnectedMac();
    return tr("The fieldbus configuration on this page comes from a configuration file of another unit (MAC address "
              "%1; this unit: %2).")
        .arg(macAddressText(config->anybusMac()), own.isEmpty() ? tr("unknown") : macAddressText(own));
}

QString FieldbusActionbar::recordNote()
{
    const QString problem = recordProblem();
    if (!problem.isEmpty())
        return capitalized(problem);
    const QString foreign = otherUnitsFile();
    if (!foreign.isEmpty())
        return foreign + QLatin1Char(' ')
               + tr("\"Apply Fieldbus Configuration\" asks before it writes it to this unit.");
    return QString();
}

void FieldbusActionbar::on_btnResetAnybusMod_clicked()
{
    const QString refused = applyRefusal();
    if (!refused.isEmpty()) {
        reportFailure(refused);
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

    // Another module's identity goes to this one only by the engineer's
    // choice, as a whole configuration does on a MAC conflict.
    const QString foreign = otherUnitsFile();
    if (!foreign.isEmpty()) {
        int32_t choice = -1;
        emit printMessageboxwrapper({tr("Cancel"), tr("Write")}, tr("Fieldbus Configuration of Another Unit"),
                                    foreign + QLatin1Char('\n')
                                        + tr("Writing it gives this unit's fieldbus module the addresses and names of "
                                             "the other module, such as its IP address and station name. Do you want "
                                             "to write it to this unit?"),
                                    QMessageBox::Warning, &choice);
        if (!guard || choice != 1)
            return;
    }

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
    fitButtons();
}
