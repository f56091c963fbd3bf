#include "channelenablebar.h"
#include "ui_channelenablebar.h"

#include "abstractgraph.h"
#include "confighandler.h"
#include "device.h"
#include "graphpalette.h"
#include "scalinghandlercont.h"

#include <QGraphicsColorizeEffect>
#include <QGridLayout>

namespace {

// The tints before a colour source is set.
const Qt::GlobalColor kInitialColors[] = {Qt::blue, Qt::red, Qt::green, Qt::yellow,
                                          Qt::black, Qt::gray, Qt::magenta};

} // namespace

ChannelEnableBar::ChannelEnableBar(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::ChannelEnableBar)
{
    ui->setupUi(this);
    Device *device = Device::instance();
    connect(device->ethernetHandler(), &EthernetHandler::connectionLost, this,
            &ChannelEnableBar::lostconnection);
    connect(device->ethernetHandler(), &EthernetHandler::connectionPing, this,
            &ChannelEnableBar::connectionsuccesfull);
    BaseWidget::ScaleFactorChange(ScalingHandlerCont::instance()->getScaleFactor());

    const QList<QCheckBox *> checks = {ui->chkChannel1, ui->chkChannel2, ui->chkChannel3, ui->chkChannel4,
                                       ui->chkChannel5, ui->chkChannel6, ui->chkChannel7};
    const QList<QPushButton *> names = {ui->btnChannel1Data, ui->btnChannel2Data, ui->btnChannel3Data,
                                        ui->btnChannel4Data, ui->btnChannel5Data, ui->btnChannel6Data,
                                        ui->btnChannel7Data};
    for (int n = 0; n < 7; ++n) {
        Entry entry;
        entry.check = checks.at(n);
        entry.name = names.at(n);
        entry.effect = new QGraphicsColorizeEffect(entry.check);
        connect(entry.name, &QPushButton::clicked, entry.check, &QCheckBox::toggle);
        entry.effect->setColor(kInitialColors[n]);
        entry.effect->setStrength(0.0);
        entry.check->setGraphicsEffect(entry.effect);
        entries.append(entry);
    }
    for (const Entry &entry : entries)
        connect(entry.check, &QCheckBox::stateChanged, this, &ChannelEnableBar::emitChannelMask);
    // The style sheet's indicator size is in pixels, which the display
    // scale does not reach: the channel boxes are sized here.
    const int box = qRound(18 * ScalingHandlerCont::instance()->getScaleFactor());
    for (const Entry &entry : entries)
        entry.check->setStyleSheet(QStringLiteral("QCheckBox::indicator { width: %1px; height: %1px; }").arg(box));
    for (const Entry &entry : entries)
        entry.check->setMinimumWidth(entry.check->width());
    // Each box stays by its name: the name takes the width of its text and
    // the room a wide bar has to spare goes after the box, not between the
    // two (where it would leave the box far from what it selects).
    for (const Entry &entry : entries) {
        entry.name->setSizePolicy(QSizePolicy::Preferred, entry.name->sizePolicy().verticalPolicy());
        if (auto *cell = qobject_cast<QGridLayout *>(entry.name->parentWidget()->layout()))
            cell->setColumnStretch(cell->columnCount(), 1);
    }
    connect(device->confighandler(), &Confighandler::Channelnamechanged, this,
            &ChannelEnableBar::updateChannelname);
}

ChannelEnableBar::~ChannelEnableBar()
{
    delete ui;
}

QCheckBox *ChannelEnableBar::checkBox(int channel) const
{
    return channel >= 0 && channel < entries.size() ? entries.at(channel).check : nullptr;
}

QPushButton *ChannelEnableBar::nameButton(int channel) const
{
    return channel >= 0 && channel < entries.size() ? entries.at(channel).name : nullptr;
}

QGraphicsColorizeEffect *ChannelEnableBar::effect(int channel) const
{
    return channel >= 0 && channel < entries.size() ? entries.at(channel).effect : nullptr;
}

QColor ChannelEnableBar::channelColor(int channel) const
{
    // Without a graph the shared channel palette gives the same colours.
    if (colorSource)
        return colorSource->colorAt(channel);
    return QColor::fromRgba(GraphPalette::colorAt(channel));
}

uint8_t ChannelEnableBar::getChannelMask()
{
    uint8_t mask = 0;
    for (int n = 0; n < entries.size(); ++n) {
        const Entry &entry = entries.at(n);
        if (entry.check->isChecked()) {
            mask |= uint8_t(1u << n);
            entry.effect->setColor(channelColor(n));
        }
        entry.effect->setStrength(entry.check->checkState() == Qt::Checked ? 1.0 : 0.0);
        entry.check->repaint();
    }
    return mask;
}

void ChannelEnableBar::emitChannelMask()
{
    emit channelMaskchanged(getChannelMask());
}

void ChannelEnableBar::setColorSource(AbstractGraph *graph)
{
    colorSource = graph;
    for (int n = 0; n < entries.size(); ++n)
        entries.at(n).effect->setColor(channelColor(n));
    getChannelMask();
}

void ChannelEnableBar::updateChannelname(QString newChannelname, uint8_t channelindex)
{
    if (channelindex > 6)
        return;
    const QString shown = Confighandler::elideText(newChannelname, 16);
    QPushButton *button = entries.at(channelindex).name;
    button->setText(shown);
    button->setToolTip(shown != newChannelname ? newChannelname : QString());
}

void ChannelEnableBar::translateUiSlot(QWidget *)
{
    ui->retranslateUi(this);
    ScaleFactorChange(ScalingHandlerCont::instance()->getScaleFactor());
}
