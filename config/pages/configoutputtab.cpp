#include "configoutputtab.h"
#include "ui_configoutputtab.h"

#include "confighandler.h"
#include "device.h"
#include "mousewheelscrollprotect.h"

#include <QApplication>
#include <QDebug>
#include <QKeyEvent>
#include <QLocale>
#include <cmath>

namespace {

Confighandler *model()
{
    return Device::instance()->confighandler();
}

const QString kNone = QStringLiteral("---");

// The current is a decimal of a few mA, never one with thousands: a comma
// typed where the language writes a point (or the other way round) is the
// decimal mark the engineer means. The spin box itself drops it as a
// thousands separator, so that 12,5 became 125, out of range, and 12.
class DecimalMarkFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QAbstractSpinBox *>(watched);
        if (box && event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            const QChar mark = box->locale().decimalPoint();
            const QString text = key->text();
            if ((text == QLatin1String(",") || text == QLatin1String(".")) && text != QString(mark)) {
                QKeyEvent meant(QEvent::KeyPress, mark == QLatin1Char(',') ? Qt::Key_Comma : Qt::Key_Period,
                                key->modifiers(), QString(mark), key->isAutoRepeat(), key->count());
                QCoreApplication::sendEvent(box, &meant);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

ConfigOutputTab::ConfigOutputTab(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::ConfigOutputTab)
{
    ui->setupUi(this);
    channelIdx = 0;
    connect(model(), &Confighandler::ConfigDevicechanged, this, &ConfigOutputTab::updateConfigDevice);
    for (QWidget *w : {static_cast<QWidget *>(ui->spnComVal), static_cast<QWidget *>(ui->dspnRefCurr)}) {
        auto *filter = new MouseWheelScrollProtect(w, true);
        w->installEventFilter(filter);
    }
    ui->dspnRefCurr->installEventFilter(new DecimalMarkFilter(ui->dspnRefCurr));
    connect(ui->dspnRefCurr, &QDoubleSpinBox::editingFinished, this, &ConfigOutputTab::saveDeviceInfo);
    connect(ui->spnComVal, &QSpinBox::editingFinished, this, &ConfigOutputTab::saveDeviceInfo);
}

ConfigOutputTab::~ConfigOutputTab()
{
    delete ui;
}

int ConfigOutputTab::suggestedComparison(uint8_t factor, int16_t referenceSkw)
{
    return int(factor) * int(referenceSkw) / 25;
}

double ConfigOutputTab::suggestedCurrent(uint8_t factor, uint16_t scale)
{
    // Integer division truncating toward zero, then mA.
    return double(int(factor) * int(int16_t(scale)) / 25) / 1000.0;
}

void ConfigOutputTab::channelIdxchanged(int32_t idx)
{
    channelIdx = idx;
    model()->emitConfigChanged();
}

void ConfigOutputTab::updateConfigDevice(CFG_Device_Param_struct newcfgentry)
{
    if (channelIdx < 0 || channelIdx > 6)
        return;
    const int c = channelIdx;
    const bool analog = newcfgentry.outputSelect() == 1;
    const int16_t reference = newcfgentry.referenceSkw(c);
    const uint16_t scale = newcfgentry.scale(c);
    const uint16_t threshold = newcfgentry.threshold(c);

    // Nothing this refresh does to the boxes is an edit: disabling the box
    // that has the focus finishes its editing, and that must not save the
    // value it still shows into the channel shown next.
    const QSignalBlocker currentBlocker(ui->dspnRefCurr);
    const QSignalBlocker limitBlocker(ui->spnComVal);
    // A refresh of the same channel that leaves a stored value as it was
    // (another field or page changed) keeps what is being typed there.
    const bool sameChannel = c == shownChannel;
    const bool refreshCurrent = !sameChannel || int(scale) != shownScale;
    const bool refreshLimit = !sameChannel || int(threshold) != shownThreshold;
    shownChannel = c;
    // Without a reference the current box does not show the stored scale.
    shownScale = reference >= 0 ? int(scale) : -1;
    shownThreshold = threshold;

    ui->stackedWidget->setCurrentWidget(analog ? ui->page_Analog : ui->page_Digital);
    ui->gpbComVal->setEnabled(!analog);
    ui->spnComVal->setEnabled(!analog && reference >= 0);
    ui->gpbRefCurr->setEnabled(analog);
    ui->dspnRefCurr->setEnabled(analog && reference >= 0);

    const bool measured = reference >= 1;
    ui->gpbMeasSKW1->setEnabled(measured);
    ui->gpbMeasSKW2->setEnabled(measured);
    ui->leditMeasSKW1->setText(measured ? QString::number(reference) : kNone);
    ui->leditMeasSKW2->setText(measured ? QString::number(reference) : kNone);

    ui->dspnRefCurr->setMinimum(-1.0);
    const QString hint = tr("conduct a reference run to change this value");
    if (!analog) {
        ui->spnComVal->setToolTip(reference < 0 ? hint : QString());
    } else if (reference < 0) {
        ui->dspnRefCurr->setToolTip(hint);
        ui->dspnRefCurr->setValue(4.8);
    } else {
        ui->dspnRefCurr->setToolTip(QString());
        ui->dspnRefCurr->setMinimum(4.8);
    }

    // No mapping entry serves the channel: no factor, no suggestions.
    const CFG_Blob_struct_sorted blob = model()->getConfigBlob();
    const uint8_t entry = model()->channelEntryIndex(uint8_t(c));
    const bool haveFactor = entry < 7;
    const uint8_t factor = haveFactor ? blob.mapping(entry).referenceScaleFactor() : 0;

    // The current is shown for a reference SKW of 0 too, so that the spin
    // box never keeps another channel's value while it can be edited.
    if (reference >= 0 && refreshCurrent)
        ui->dspnRefCurr->setValue(scale / 1000.0);
    if (measured && haveFactor) {
        ui->leditSuggCurr->setText(QLocale().toString(suggestedCurrent(factor, scale), 'f', 2) + tr(" mA"));
        ui->gpbSuggCurr->setEnabled(true);
    } else {
        ui->gpbSuggCurr->setEnabled(false);
        ui->leditSuggCurr->setText(kNone);
    }

    if (refreshLimit)
        ui->spnComVal->setValue(threshold);
    if (measured && haveFactor) {
        ui->leditSuggCompVal->setText(QString::number(suggestedComparison(factor, reference)));
        ui->gpbSuggCompVal->setEnabled(true);
    } else {
        ui->gpbSuggCompVal->setEnabled(false);
        ui->leditSuggCompVal->setText(kNone);
    }
    ui->dspnRefCurr->setMaximum(14.0);
    if ((analog && reference < 0) || (reference >= 0 && refreshCurrent))
        shownCurrent = ui->dspnRefCurr->value();
}

void ConfigOutputTab::saveDeviceInfo()
{
    // Only the edited field is written: the other spin box may show a
    // rounded value (12345 shows as 12.35 mA) that must not replace it.
    save(sender() == ui->dspnRefCurr || !sender(), sender() == ui->spnComVal || !sender());
}

bool ConfigOutputTab::commitPendingEdits()
{
    // With keyboard tracking off, typed text becomes the value only when
    // it is interpreted; a value that changes here was typed and not yet
    // confirmed.
    const bool limit = [this] {
        const int before = ui->spnComVal->value();
        ui->spnComVal->interpretText();
        return ui->spnComVal->isEnabled() && ui->spnComVal->value() != before;
    }();
    const bool current = [this] {
        const double before = ui->dspnRefCurr->value();
        ui->dspnRefCurr->interpretText();
        return ui->dspnRefCurr->isEnabled() && ui->dspnRefCurr->value() != before;
    }();
    if (!limit && !current)
        return true;
    return save(current, limit);
}

bool ConfigOutputTab::save(bool current, bool limit)
{
    // The boxes show the values of shownChannel; before the first refresh
    // they show nothing of any channel.
    const int c = shownChannel;
    if (c < 0 || c > 6)
        return true;
    // Taken before the model reports a refusal, which may move the focus.
    const QWidget *focus = QApplication::focusWidget();
    const bool focusLeft = !focus || (focus != ui->dspnRefCurr && !ui->dspnRefCurr->isAncestorOf(focus)
                                      && focus != ui->spnComVal && !ui->spnComVal->isAncestorOf(focus));
    // The box shows the stored scale to two decimals (12345 as 12.35 mA):
    // a value the user left as shown must not replace the stored one.
    current = current && ui->dspnRefCurr->value() != shownCurrent;
    if (!current && !limit)
        return true;
    CFG_Device_Param_struct block = model()->getDeviceConfig();
    if (current)
        block.setScale(c, uint16_t(std::lround(ui->dspnRefCurr->value() * 1000.0)));
    if (limit)
        block.setThreshold(c, uint16_t(ui->spnComVal->value()));
    if (model()->setDeviceConfig(block) == ERR_OK)
        return true;
    if (focusLeft)
        emit editRefused();
    return false;
}

void ConfigOutputTab::on_stackedWidget_currentChanged(int index)
{
    for (int n = 0; n < ui->stackedWidget->count(); ++n)
        ui->stackedWidget->widget(n)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    QWidget *page = ui->stackedWidget->widget(index);
    if (!page)
        return;
    page->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    page->adjustSize();
    ui->stackedWidget->adjustSize();
    qDebug() << "output page size" << ui->stackedWidget->size();
    emit contentChanged();
}

void ConfigOutputTab::translateUiSlot(QWidget *)
{
    ui->retranslateUi(this);
}
