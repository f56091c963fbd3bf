#include "refrundialog.h"

#include <QDebug>
#include <QLocale>
#include <QSignalBlocker>
#include <cmath>

#include "confighandler.h"
#include "device.h"
#include "ethernethandler.h"
#include "ipaddresstext.h"
#include "requestgate.h"
#include "ui_refrundialog.h"

namespace {

const char *const kNotProcessed = QT_TRANSLATE_NOOP("RefRunDialog", "The following Channels were not Processed: ");
const QString kNoValue = QStringLiteral("---");

} // namespace

RefRunDialog::RefRunDialog(QWidget *parent)
    : BaseDialog(parent)
    , ui(new Ui::RefRunDialog)
{
    ui->setupUi(this);
    setVisible(true);
}

RefRunDialog::~RefRunDialog()
{
    delete ui;
}

void RefRunDialog::setLink(EthernetHandler *handler, Confighandler *config)
{
    m_handler = handler;
    m_config = config;
}

void RefRunDialog::resolveLink()
{
    if (!m_handler)
        m_handler = Device::instance()->ethernetHandler();
    if (!m_config)
        m_config = Device::instance()->confighandler();
}

QByteArray RefRunDialog::answeringUnit(EthernetHandler *handler)
{
    if (!handler)
        handler = Device::instance()->ethernetHandler();
    uint8_t mac[EthernetHandler::kMacParamSize] = {};
    if (handler->readMACAddress(mac) != ERR_OK)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char *>(mac), sizeof mac);
}

QString RefRunDialog::decimal(double value)
{
    return QLocale().toString(value, 'g', 6);
}

void RefRunDialog::applyModeTexts()
{
    const QSignalBlocker block(ui->spndRefVal);
    if (m_scaleMode) {
        ui->gpbnewRefVal->setTitle(tr("New Scale Value"));
        ui->gpbprevRefVal->setTitle(tr("Previous Scale Value"));
        ui->spndRefVal->setSuffix(QStringLiteral("mA"));
        ui->spndRefVal->setDecimals(2);
        ui->spndRefVal->setRange(4.8, 14.0);
        ui->spndRefVal->setSingleStep(0.1);
    } else {
        ui->gpbnewRefVal->setTitle(tr("New Threshold"));
        ui->gpbprevRefVal->setTitle(tr("Previous Threshold"));
        ui->spndRefVal->setSuffix(QString());
        ui->spndRefVal->setDecimals(0);
        ui->spndRefVal->setRange(20, 2000);
        ui->spndRefVal->setSingleStep(1);
    }
}

int RefRunDialog::setRefRunResult(const ReferenceRunResult_t &result)
{
    resolveLink();
    m_result = result;
    m_scaleMode = result.scaleMode();
    applyModeTexts();

    QStringList names;
    m_items.clear();
    for (uint8_t ch = 0; ch < ReferenceRunResult_t::kChannels; ++ch) {
        if (!(result.channelMask() & (1u << ch)))
            continue;
        names << m_config->channelName(ch);
        Item item;
        item.channel = ch;
        item.value = result.newReference[ch];
        item.hasValue = item.value >= 0;
        m_items.append(item);
    }
    {
        const QSignalBlocker block(ui->tabChnsel);
        while (ui->tabChnsel->count() > 0) {
            QWidget *page = ui->tabChnsel->widget(0);
            ui->tabChnsel->removeTab(0);
            delete page;
        }
        for (const QString &name : qAsConst(names))
            ui->tabChnsel->addTab(new QWidget(), name);
        m_current = 0;
        ui->tabChnsel->setCurrentIndex(0);
    }
    if (m_items.isEmpty())
        return 0;

    on_tabChnsel_currentChanged(ui->tabChnsel->currentIndex());
    const int r = exec();
    if (r == 1 && parentWidget() && parentWidget()->isVisible())
        m_config->saveConfigOnDevice(true);
    return r;
}

void RefRunDialog::on_tabChnsel_currentChanged(int index)
{
    if (index < 0 || index >= m_items.size())
        return;
    ui->spndRefVal->clearFocus();
    m_current = index;
    showItem(index);
}

void RefRunDialog::showItem(int index)
{
    const Item &item = m_items.at(index);
    const size_t ch = item.channel;
    const int a = m_result.previousReference[ch];
    const int b = m_result.newReference[ch];
    const int c = m_result.previousSkw[ch];
    const int d = m_result.newSkw[ch];
    const int e = m_result.previousFactor[ch];
    const int f = m_result.newFactor[ch];

    ui->lblnewSKW->setText(d < 0 ? kNoValue : QString::number(d));
    ui->lblprevSKW->setText(c < 0 ? kNoValue : QString::number(c));

    const QSignalBlocker block(ui->spndRefVal);
    if (m_scaleMode) {
        ui->lblnewSugg->setText(d < 0 || b < 0 ? kNoValue : decimal(b / 1000.0 * f / 25.0));
        ui->lblprevSugg->setText(c < 0 || a < 0 ? kNoValue : decimal(a / 1000.0 * e / 25.0));
        ui->lblprevRefVal->setText(a < 0 ? kNoValue : decimal(a / 1000.0) + tr(" mA"));
    } else {
        ui->lblprevRefVal->setText(a < 0 ? kNoValue : QString::number(a));
        ui->lblnewSugg->setText(d < 0 ? tr("unknown") : QString::number(std::lround(d * f / 25.0)));
        ui->lblprevSugg->setText(c < 0 ? tr("unknown") : QString::number(std::lround(c * e / 25.0)));
    }
    // A channel without a new value has nothing to apply: the spin box
    // shows "---" instead of a made-up minimum.
    ui->spndRefVal->setSpecialValueText(item.hasValue ? QString() : kNoValue);
    ui->spndRefVal->setEnabled(item.hasValue);
    ui->btnApply->setEnabled(item.hasValue);
    if (!item.hasValue)
        ui->spndRefVal->setValue(ui->spndRefVal->minimum());
    else
        ui->spndRefVal->setValue(m_scaleMode ? item.value / 1000.0 : double(item.value));
    refreshNotProcessed();
}

void RefRunDialog::on_spndRefVal_editingFinished()
{
    applyValue();
}

void RefRunDialog::on_btnApply_clicked()
{
    applyValue();
}

void RefRunDialog::applyValue()
{
    if (m_current < 0 || m_current >= m_items.size())
        return;
    Item &item = m_items[m_current];
    if (!item.hasValue)
        return;
    const double v = ui->spndRefVal->value();
    qDebug() << "Spinboxvalue: " << v << " Index: " << m_current;
    if (m_scaleMode) {
        item.value = int16_t(std::lround(v * 1000.0));
        const QSignalBlocker block(ui->spndRefVal);
        ui->spndRefVal->setValue(item.value / 1000.0);
        const int f = m_result.newFactor[item.channel];
        ui->lblnewSugg->setText(decimal(f * ui->spndRefVal->value() / 25.0));
    } else {
        item.value = int16_t(std::lround(v));
    }
    item.applied = true;
    refreshNotProcessed();
}

QString RefRunDialog::itemName(int index) const
{
    return ui->tabChnsel->tabText(index);
}

QStringList RefRunDialog::notProcessed() const
{
    QStringList names;
    for (int i = 0; i < m_items.size(); ++i)
        if (m_items.at(i).hasValue && !m_items.at(i).applied)
            names << itemName(i);
    return names;
}

void RefRunDialog::refreshNotProcessed()
{
    const QStringList names = notProcessed();
    ui->btnExit->setEnabled(names.isEmpty());
    ui->btnExit->setToolTip(names.isEmpty() ? QString() : tr(kNotProcessed) + names.join(QStringLiteral(", ")));
}

bool RefRunDialog::sendChannelValue(const Item &item)
{
    if (!item.applied)
        return false;
    const errorCode_e r = m_scaleMode ? m_handler->writeChannelScale(item.value, item.channel, true)
                                      : m_handler->writeChannelThreshold(item.value, item.channel, true);
    return r == ERR_OK;
}

void RefRunDialog::on_btnExit_clicked()
{
    const QStringList open = notProcessed();
    if (!open.isEmpty()) {
        printNotification(tr(kNotProcessed) + open.join(QStringLiteral(", ")), false, QMessageBox::Warning, false);
        return;
    }
    resolveLink();
    // The values of every channel go out as one sequence.
    const RequestHold hold;
    // The values are the run's unit's. Another unit at its address (one
    // that replaced it meanwhile) must not take them as its own.
    if (!answeringUnitIsTheRunsOwn()) {
        dialogResult = 0;
        emit DialogFinished();
        return;
    }
    bool failed = false;
    for (int i = 0; i < m_items.size(); ++i) {
        const Item &item = m_items.at(i);
        if (!item.hasValue)
            continue;  // nothing measured, nothing to write
        if (!sendChannelValue(item)) {
            failed = true;
            printNotification(tr("The following Channel couldn't be processed: ") + itemName(i), false,
                              QMessageBox::Warning, false);
        }
    }
    if (failed)
        printNotification(tr("Reference Run Failed! Please Repeat the Reference Run."), false, QMessageBox::Warning,
                          false);
    dialogResult = failed ? 0 : 1;
    emit DialogFinished();
}

bool RefRunDialog::answeringUnitIsTheRunsOwn()
{
    QString problem;
    if (m_runUnit.isEmpty()) {
        problem = tr("Nothing was written: it is not known which unit the reference run was made on (its MAC "
                     "address could not be read when the result came).");
    } else {
        const QByteArray answering = answeringUnit(m_handler);
        if (answering.isEmpty())
            problem = tr("Nothing was written: the unit did not give its MAC address, so it is not known whether "
                         "the reference run was made on it.");
        else if (answering != m_runUnit)
            problem = tr("Nothing was written: the unit that answers now (MAC address %1) is not the one the "
                         "reference run was made on (MAC address %2).")
                          .arg(macAddressText(answering), macAddressText(m_runUnit));
    }
    if (problem.isEmpty())
        return true;
    printNotification(problem, false, QMessageBox::Warning, false);
    return false;
}

void RefRunDialog::translateUiSlot(QWidget *)
{
    ui->retranslateUi(this);
    applyModeTexts();
    if (m_current >= 0 && m_current < m_items.size())
        showItem(m_current);
}
