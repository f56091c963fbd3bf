#include "valuebar.h"

#include <QGraphicsColorizeEffect>
#include <algorithm>

#include "ui_valuebar.h"

ValueBar::ValueBar(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::valueBar)
{
    ui->setupUi(this);
    // A hidden number keeps its room, so bars side by side stay level.
    QSizePolicy keep = ui->lblCurrentValue->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    ui->lblCurrentValue->setSizePolicy(keep);
    // Caption, scale, bar and number stay one block at its own width,
    // centred in whatever room the bar gets: a bar alone on the page would
    // otherwise spread its scale column and leave the bar at the far edge.
    ui->horizontalLayout->insertStretch(0, 1);
    ui->horizontalLayout->addStretch(1);
    ui->prgBar->setValue(0);
    m_effect = new QGraphicsColorizeEffect(ui->prgBar);
    ui->prgBar->setGraphicsEffect(m_effect);
    setValue(ui->prgBar->value());
}

ValueBar::~ValueBar()
{
    delete ui;
}

void ValueBar::setRange(int min, int max)
{
    ui->prgBar->setRange(min, max);
    ui->lblCenterValue->setText(QString::number((min + max) / 2));
    ui->lblMaxValue->setText(QString::number(max));
    ui->lblMinValue->setText(QString::number(min));
}

void ValueBar::setTitle(const QString &title)
{
    ui->lblDescription->setText(title);
    ui->lblDescription->setToolTip(title);
}

void ValueBar::setColor(const QColor &color)
{
    m_effect->setColor(color);
    ui->prgBar->update();
}

void ValueBar::setValue(int value)
{
    ui->lblCurrentValue->setText(QString::number(value));
    const bool over = value > ui->prgBar->maximum();
    if (ui->lblCurrentValue->property("useRedBorder").toBool() != over) {
        ui->lblCurrentValue->setProperty("useRedBorder", over);
        // The style sheet selects on the property; only a new polish applies it.
        polishWidget(ui->lblCurrentValue);
    }
    ui->prgBar->setValue(std::clamp(value, ui->prgBar->minimum(), ui->prgBar->maximum()));
}

void ValueBar::setValueShown(bool shown)
{
    ui->lblCurrentValue->setVisible(shown);
    if (!shown)
        ui->prgBar->setValue(ui->prgBar->minimum());
}

void ValueBar::translateUiSlot(QWidget *)
{
    // The form holds no translated text.
}
