#include "statusbar.h"
#include "ui_statusbar.h"

#include "confighandler.h"
#include "device.h"
#include "ethernethandler.h"
#include "requestgate.h"
#include "scalinghandlercont.h"
#include "textfitfilter.h"

#include <QDebug>
#include <QEvent>
#include <QFontMetrics>
#include <QLayout>
#include <QToolButton>
#include <cmath>

namespace {

// Names of the device error bits 0 to 24; the bits above have none.
const char *const kErrorBitNames[] = {
    QT_TRANSLATE_NOOP("StatusBar", "I2C Timeout"),
    QT_TRANSLATE_NOOP("StatusBar", "I2C Error"),
    QT_TRANSLATE_NOOP("StatusBar", "I2S Data Lost"),
    QT_TRANSLATE_NOOP("StatusBar", "Ethernet Stack"),
    QT_TRANSLATE_NOOP("StatusBar", "Ethernet Application Stack"),
    QT_TRANSLATE_NOOP("StatusBar", "Bias Voltage Channel 1"),
    QT_TRANSLATE_NOOP("StatusBar", "Bias Voltage Channel 2"),
    QT_TRANSLATE_NOOP("StatusBar", "Bias Voltage Channel 3"),
    QT_TRANSLATE_NOOP("StatusBar", "Bias Voltage Channel 4"),
    QT_TRANSLATE_NOOP("StatusBar", "Bias Voltage Channel 5"),
    QT_TRANSLATE_NOOP("StatusBar", "Bias Voltage Channel 6"),
    QT_TRANSLATE_NOOP("StatusBar", "Bias Voltage Channel 7"),
    QT_TRANSLATE_NOOP("StatusBar", "Trigger Maximum Timing"),
    QT_TRANSLATE_NOOP("StatusBar", "Trigger Minimum Timing"),
    QT_TRANSLATE_NOOP("StatusBar", "SPI"),
    QT_TRANSLATE_NOOP("StatusBar", "Default Config Usage ( unconfigured )"),
    QT_TRANSLATE_NOOP("StatusBar", "No Reference Values"),
    QT_TRANSLATE_NOOP("StatusBar", "Input Overload"),
    QT_TRANSLATE_NOOP("StatusBar", "Output Overload Channel 1"),
    QT_TRANSLATE_NOOP("StatusBar", "Output Overload Channel 2"),
    QT_TRANSLATE_NOOP("StatusBar", "Output Overload Channel 3"),
    QT_TRANSLATE_NOOP("StatusBar", "Output Overload Channel 4"),
    QT_TRANSLATE_NOOP("StatusBar", "Output Overload Channel 5"),
    QT_TRANSLATE_NOOP("StatusBar", "Output Overload Channel 6"),
    QT_TRANSLATE_NOOP("StatusBar", "Output Overload Channel 7"),
};
constexpr int kNamedErrorBits = int(sizeof(kErrorBitNames) / sizeof(kErrorBitNames[0]));

const char *const kModuleStates[] = {
    QT_TRANSLATE_NOOP("StatusBar", "no Error"),
    QT_TRANSLATE_NOOP("StatusBar", "no Module Detected"),
    QT_TRANSLATE_NOOP("StatusBar", "Module not supported"),
    QT_TRANSLATE_NOOP("StatusBar", "Module not answering"),
    QT_TRANSLATE_NOOP("StatusBar", "reset Module"),
    QT_TRANSLATE_NOOP("StatusBar", "shutdown Module"),
    QT_TRANSLATE_NOOP("StatusBar", "unexpected Error"),
};

const char *const kCommStates[] = {
    QT_TRANSLATE_NOOP("StatusBar", "not ready for communication"),
    QT_TRANSLATE_NOOP("StatusBar", "ready for communication"),
    QT_TRANSLATE_NOOP("StatusBar", "communication error"),
};

constexpr uint8_t kDeviceStateError = 1;

} // namespace

StatusBar::StatusBar(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::StatusBar)
{
    notifiedErrorBits = 0;
    ui->setupUi(this);

    iconChannelConnected = QIcon(QStringLiteral(":/res/icon_status_led_green.svg"));
    iconChannelDisabled = QIcon(QStringLiteral(":/res/icon_status_led_disabled.svg"));
    iconChannelFault = QIcon(QStringLiteral(":/res/icon_status_led_red.svg"));
    iconDeviceError = QIcon(QStringLiteral(":/res/icon_status_led_red.svg"));
    iconDeviceOk = QIcon(QStringLiteral(":/res/icon_status_led_green.svg"));
    iconDeviceNotConnected = QIcon(QStringLiteral(":/res/icon_status_led_disabled.svg"));

    Device *device = Device::instance();
    connect(device->ethernetHandler(), &EthernetHandler::connectionLost, this,
            &StatusBar::lostconnection);
    connect(device->ethernetHandler(), &EthernetHandler::connectionPing, this,
            &StatusBar::connectionsuccesfull);
    connect(device->confighandler(), &Confighandler::Channelnamechanged, this,
            &StatusBar::updateChannelname);

    nameLabels = {ui->lblStatusChn1, ui->lblStatusChn2, ui->lblStatusChn3, ui->lblStatusChn4,
                  ui->lblStatusChn5, ui->lblStatusChn6, ui->lblStatusChn7};
    stateLabels = {ui->lblChn1txt, ui->lblChn2txt, ui->lblChn3txt, ui->lblChn4txt,
                   ui->lblChn5txt, ui->lblChn6txt, ui->lblChn7txt};
    leds = {ui->btnChn1img, ui->btnChn2img, ui->btnChn3img, ui->btnChn4img,
            ui->btnChn5img, ui->btnChn6img, ui->btnChn7img};
    for (QLabel *label : stateLabels) {
        TextFitFilter::install(label);
        // The style sheet decides the font the words are drawn in; every
        // change of it sizes the labels anew.
        label->installEventFilter(this);
        shareRowWithWords(label);
    }

    ScaleFactorChange(ScalingHandlerCont::instance()->getScaleFactor());

    for (QLabel *label : stateLabels)
        label->setText(QStringLiteral("---"));
    for (QToolButton *led : leds)
        setStatusIcon(led, iconChannelDisabled);
    ui->btnErrorReset->setEnabled(false);
    ui->btnErrorReset->hide();
    ui->wdgFieldbus->hide();
    emitBarresized();
}

StatusBar::~StatusBar()
{
    delete ui;
}

QLabel *StatusBar::channelNameLabel(int channel) const
{
    return channel >= 0 && channel < kChannels ? nameLabels[size_t(channel)] : nullptr;
}

QLabel *StatusBar::channelStateLabel(int channel) const
{
    return channel >= 0 && channel < kChannels ? stateLabels[size_t(channel)] : nullptr;
}

QToolButton *StatusBar::channelLed(int channel) const
{
    return channel >= 0 && channel < kChannels ? leds[size_t(channel)] : nullptr;
}

StatusBar::Led StatusBar::ledOf(QAbstractButton *button) const
{
    const qint64 key = button->icon().cacheKey();
    if (key == iconChannelConnected.cacheKey())
        return Led::Connected;
    if (key == iconChannelDisabled.cacheKey())
        return Led::Disabled;
    if (key == iconChannelFault.cacheKey())
        return Led::Fault;
    if (key == iconDeviceError.cacheKey())
        return Led::DeviceError;
    if (key == iconDeviceOk.cacheKey())
        return Led::DeviceOk;
    if (key == iconDeviceNotConnected.cacheKey())
        return Led::NotConnected;
    return Led::Other;
}

QString StatusBar::errorBitName(int bit)
{
    return bit >= 0 && bit < kNamedErrorBits ? QString::fromLatin1(kErrorBitNames[bit]) : QString();
}

QString StatusBar::networkTypeName(uint16_t code)
{
    return FieldbusStatusRecord::networkTypeName(code);
}

void StatusBar::emitBarresized()
{
    qDebug() << "Barresized";
    emit Barresized();
}

void StatusBar::setStatusIcon(QAbstractButton *button, const QIcon &icon)
{
    button->setIcon(icon);
    button->repaint();
    polishWidget(button);
}

void StatusBar::connectionsuccesfull(HearBeatMessage_t &states, QHostAddress sender)
{
    const uint8_t state = states.deviceState();
    const QString errorText = (state == 0 || state == 2) ? tr("No Error") : tr("Error");

    linkShown = true;
    ui->wdgStatusdisp->setToolTip(errorBitsText(states.errorCritical != 0, states.errorBits));
    ui->lblstatustxt->setText(tr("Connected to ") + sender.toString());
    ui->lblStatusError->setText(errorText);
    const bool error = state == kDeviceStateError;
    ui->btnErrorReset->setEnabled(error);
    ui->btnErrorReset->setVisible(error);
    setStatusIcon(ui->btnstatusimg, error ? iconDeviceError : iconDeviceOk);
    ui->wdgbiasstatuschannels->setEnabled(true);

    for (int n = 0; n < kChannels; ++n) {
        const uint8_t bit = uint8_t(1u << n);
        const bool enabled = states.channelEnabled & bit;
        const bool open = states.openCircuit & bit;
        const bool shorted = states.shortCircuit & bit;
        QLabel *label = stateLabels[size_t(n)];
        if (!enabled) {
            label->setText(tr("disabled"));
            label->setToolTip(tr("The Channel is disabled"));
        } else if (open) {
            label->setText(tr("open"));
            label->setToolTip(tr("Sensor open circuit or high impedance"));
        } else if (shorted) {
            label->setText(tr("short"));
            label->setToolTip(tr("Sensor short circuit or low impedance"));
        } else {
            const int16_t skw = states.currentSkw[size_t(n)];
            QString tip = tr("Sensor connected") + QLatin1Char('\n');
            if (skw >= 0 && !error)
                tip += tr("Current SKW: %1").arg(skw);
            else
                tip += tr("Current SKW:  ") + QStringLiteral("---");
            label->setText(tr("connected"));
            label->setToolTip(tip);
        }
        if (!enabled)
            setStatusIcon(leds[size_t(n)], iconChannelDisabled);
        else if (open || shorted)
            setStatusIcon(leds[size_t(n)], iconChannelFault);
        else
            setStatusIcon(leds[size_t(n)], iconChannelConnected);
    }
    fieldbusStatusText(states.fieldbus);
}

QString StatusBar::errorBitsText(bool critical, uint32_t bits)
{
    QString text;
    if (critical)
        text = tr("critical Error!") + QLatin1Char('\n');
    for (int b = 0; b < 32; ++b) {
        const uint32_t mask = 1u << b;
        if (bits & mask) {
            const QString name = b < kNamedErrorBits ? tr(kErrorBitNames[b]) : tr("unknown Error?");
            text += name + QLatin1Char('\n');
            if (!(notifiedErrorBits & mask)) {
                const QString message = critical ? tr("critical Error! ") + name : name;
                printNotification(message, true, QMessageBox::Critical, true);
                notifiedErrorBits |= mask;
            }
        } else {
            notifiedErrorBits &= ~mask;
        }
    }
    return text;
}

void StatusBar::fieldbusStatusText(const FieldbusStatusRecord &record)
{
    const QString link = record.linkPresent() ? tr("Link present") : tr("no Link present");
    bool valid = true;
    const QString network = networkTypeName(record.networkType);
    if (network.isEmpty())
        valid = false;
    QString module;
    if (record.moduleState < sizeof(kModuleStates) / sizeof(kModuleStates[0]))
        module = tr(kModuleStates[record.moduleState]);
    else
        valid = false;
    QString comm;
    if (record.commState < sizeof(kCommStates) / sizeof(kCommStates[0]))
        comm = tr(kCommStates[record.commState]);
    else
        valid = false;
    if (record.moduleType < 0x0401 || record.moduleType > 0x0403)
        valid = false;

    ui->lblStatus->setText(module);
    ui->lblCommunicationStatus->setText(comm);
    ui->lblNetworkType->setText(network);
    ui->lblLink->setText(link);

    const bool wasVisible = !ui->wdgFieldbus->isHidden();
    ui->wdgFieldbus->setVisible(valid);
    if (wasVisible != valid)
        emitBarresized();
}

void StatusBar::lostconnection()
{
    linkShown = false;
    ui->wdgbiasstatuschannels->setEnabled(false);
    ui->lblstatustxt->setText(tr("Not connected "));
    ui->wdgStatusdisp->setToolTip(QString());
    ui->btnErrorReset->setEnabled(false);
    ui->btnErrorReset->hide();
    setStatusIcon(ui->btnstatusimg, iconDeviceNotConnected);
    for (QLabel *label : stateLabels) {
        label->setText(QStringLiteral("---"));
        label->setToolTip(QString());
    }
    for (QToolButton *led : leds)
        setStatusIcon(led, iconChannelDisabled);
    const bool wasVisible = !ui->wdgFieldbus->isHidden();
    ui->wdgFieldbus->hide();
    notifiedErrorBits = 0;
    if (wasVisible)
        emitBarresized();
}

void StatusBar::updateChannelname(QString newChannelname, uint8_t channelindex)
{
    if (channelindex >= kChannels)
        return;
    const QString shown = Confighandler::elideText(newChannelname, 16);
    QLabel *label = nameLabels[channelindex];
    label->setText(shown);
    label->setToolTip(shown != newChannelname ? newChannelname : QString());
}

void StatusBar::on_btnErrorReset_clicked()
{
    // The next heartbeat shows whether the error is gone. Sent when no
    // other request waits.
    RequestGate::instance().whenFree(this, [] { Device::instance()->ethernetHandler()->sendErrorReset(); });
}

void StatusBar::ScaleFactorChange(double factor)
{
    const int k = static_cast<int>(std::lround(12 * factor));
    for (QToolButton *led : leds)
        led->setIconSize(QSize(k, k));
    ui->btnstatusimg->setIconSize(QSize(k, k));

    BaseWidget::ScaleFactorChange(factor);
    sizeStateLabels();
}

void StatusBar::shareRowWithWords(QLabel *stateLabel)
{
    // The seven channels share the bar's width equally; room around a
    // channel's column or a gap wanted beside its LED would otherwise be
    // taken from its word once the bar gets narrow. Extra room still goes
    // to the gap after the LED.
    QWidget *column = stateLabel->parentWidget();
    QLayout *columnLayout = column ? column->layout() : nullptr;
    if (!columnLayout)
        return;
    QMargins margins = columnLayout->contentsMargins();
    margins.setLeft(0);
    margins.setRight(0);
    columnLayout->setContentsMargins(margins);
    for (int i = 0; i < columnLayout->count(); ++i) {
        QLayout *row = columnLayout->itemAt(i)->layout();
        if (!row || row->indexOf(stateLabel) < 0)
            continue;
        for (int j = 0; j < row->count(); ++j)
            if (QSpacerItem *gap = row->itemAt(j)->spacerItem())
                gap->changeSize(0, gap->sizeHint().height(), QSizePolicy::Expanding, QSizePolicy::Minimum);
        row->invalidate();
    }
}

void StatusBar::sizeStateLabels()
{
    // A label is as wide as its word in the font the style sheet draws it
    // in (after the sheet and the scale factor), whatever the language: its
    // size hint. When the bar is narrower than the words, they are cut with
    // "…" and shown whole in the tool tip, down to the width of "---".
    QLabel *first = stateLabels[0];
    first->ensurePolished();
    const QMargins margins = first->contentsMargins();
    const int narrowest = QFontMetrics(first->font()).horizontalAdvance(QStringLiteral("---")) + margins.left()
                          + margins.right() + 2 * first->margin();
    for (QLabel *label : stateLabels)
        label->setMinimumWidth(narrowest);
}

bool StatusBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        && watched == stateLabels[0])
        sizeStateLabels();
    return BaseWidget::eventFilter(watched, event);
}

void StatusBar::translateUiSlot(QWidget *)
{
    // The form's own texts follow the language at once. The words the last
    // heartbeat (or the loss of connection) set - link, error state, channel
    // words, fieldbus fields - and their tool tips keep what they show until
    // the next one (the window shows the link state anew in the new language
    // before its children retranslate): the form would leave them empty or
    // at its placeholders, and the bar would ask for another width until
    // the next heartbeat.
    QList<QLabel *> shown{ui->lblNetworkType, ui->lblLink, ui->lblStatus, ui->lblCommunicationStatus};
    // Without a link the form's own words for it are the right ones.
    if (linkShown)
        shown << ui->lblstatustxt << ui->lblStatusError;
    for (QLabel *label : stateLabels)
        shown << label;
    QStringList texts, tips;
    for (QLabel *label : shown) {
        texts << label->text();
        tips << label->toolTip();
    }
    std::array<QString, kChannels> ledTips;
    for (int n = 0; n < kChannels; ++n)
        ledTips[n] = leds[n]->toolTip();
    ui->retranslateUi(this);
    for (int i = 0; i < shown.size(); ++i) {
        shown[i]->setText(texts[i]);
        shown[i]->setToolTip(tips[i]);
    }
    for (int n = 0; n < kChannels; ++n)
        leds[n]->setToolTip(ledTips[n]);
    sizeStateLabels();
}
