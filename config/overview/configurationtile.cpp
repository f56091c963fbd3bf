#include "configurationtile.h"
#include "ui_configurationtile.h"

#include "scalinghandlercont.h"

#include <QDebug>
#include <QLayout>
#include <QMouseEvent>
#include <cmath>

ConfigurationTile::ConfigurationTile(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::ConfigurationTile)
{
    ui->setupUi(this);
    id = 0;
    ScaleFactorChange(ScalingHandlerCont::instance()->getScaleFactor());
}

ConfigurationTile::~ConfigurationTile()
{
    delete ui;
}

void ConfigurationTile::setTitle(const QString &title)
{
    ui->lblTileText->setText(title);
}

void ConfigurationTile::setDescription(const QString &description)
{
    ui->lblInteractionText->setText(description);
}

void ConfigurationTile::setStatus(int status, const QString &toolTip)
{
    ui->lblStatus->show();
    if (status == 0) {
        ui->lblStatus->setProperty("TileStatus", QStringLiteral("warning"));
    } else if (status == 1) {
        ui->lblStatus->setProperty("TileStatus", QStringLiteral("success"));
    } else {
        ui->lblStatus->hide();
        ui->lblStatus->setProperty("TileStatus", QStringLiteral("none"));
    }
    ui->lblStatus->setToolTip(toolTip);
    polishWidget(ui->lblStatus);
}

void ConfigurationTile::setTileToolTip(const QString &toolTip)
{
    ui->lblStatus->setToolTip(toolTip);
}

void ConfigurationTile::setIcon(const QPixmap &pixmap)
{
    ui->lblStatus->setPixmap(pixmap);
}

QString ConfigurationTile::title() const
{
    return ui->lblTileText->text();
}

QString ConfigurationTile::description() const
{
    return ui->lblInteractionText->text();
}

QString ConfigurationTile::statusToolTip() const
{
    return ui->lblStatus->toolTip();
}

QString ConfigurationTile::statusProperty() const
{
    return ui->lblStatus->property("TileStatus").toString();
}

bool ConfigurationTile::statusIconShown() const
{
    return !ui->lblStatus->isHidden();
}

void ConfigurationTile::ScaleFactorChange(double factor)
{
    // The status icon keeps its size beside a long title.
    const int icon = static_cast<int>(std::lround(24 * factor));
    ui->lblStatus->setMinimumSize(icon, icon);
    // Square: the success mark's green ground fills the label, and beside a
    // title on one line the label would be as wide as the title's row.
    ui->lblStatus->setMaximumWidth(icon);
    if (QLayout *row = ui->lblStatus->parentWidget()->layout())
        row->setAlignment(ui->lblStatus, Qt::AlignRight | Qt::AlignVCenter);
    ScalingHandlerCont::scaleLayout(this, factor);
    BaseWidget::ScaleFactorChange(factor);
}

void ConfigurationTile::translateUiSlot(QWidget *)
{
}

void ConfigurationTile::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        qDebug() << "Tile size" << size() << " hint " << sizeHint();
        qDebug() << "Tile size" << ui->cfgTileLowerWidget->size() << " hint "
                 << ui->cfgTileLowerWidget->sizeHint();
        qDebug() << "Tile size" << ui->cfgTileUpperWidget->size() << " hint "
                 << ui->cfgTileUpperWidget->sizeHint();
        emit signal_tilePressed(static_cast<uint8_t>(id));
    }
    BaseWidget::mousePressEvent(event);
}
