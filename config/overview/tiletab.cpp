#include "tiletab.h"

#include "configurationtile.h"
#include "scalinghandlercont.h"

#include <QEvent>
#include <QGridLayout>
#include <QScrollArea>
#include <QVariant>
#include <cmath>

namespace {

// Hidden by its owner. A tile made after the tab was shown counts as hidden
// to Qt until the layout shows it, but it is meant to be seen.
bool hiddenByOwner(const QWidget *tile)
{
    return tile->isHidden() && tile->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

} // namespace

TileTab::TileTab(QWidget *parent)
    : BaseWidget(parent)
{
    tileW = 200;
    tileH = 200;

    setObjectName(QStringLiteral("TileTab"));
    resize(700, 373);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    setProperty("isBackground", true);

    gridLayout_3 = new QGridLayout(this);
    gridLayout_3->setObjectName(QStringLiteral("gridLayout_3"));
    gridLayout_3->setContentsMargins(0, 0, 0, 0);

    scrollArea = new QScrollArea(this);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setProperty("isBackground", true);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea->setWidgetResizable(true);

    scrollAreaWidgetContents = new QWidget();
    scrollAreaWidgetContents->setObjectName(QStringLiteral("scrollAreaWidgetContents"));
    scrollAreaWidgetContents->setGeometry(QRect(0, 0, 697, 370));
    scrollAreaWidgetContents->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    scrollAreaWidgetContents->setProperty("isBackground", true);

    gridLayout_4 = new QGridLayout(scrollAreaWidgetContents);
    gridLayout_4->setObjectName(QStringLiteral("gridLayout_4"));
    gridLayout_4->setSpacing(15);
    gridLayout_4->setContentsMargins(30, 30, 30, 30);

    scrollArea->setWidget(scrollAreaWidgetContents);
    gridLayout_3->addWidget(scrollArea, 1, 0);

    connect(this, &TileTab::tileCountchanged, this, &TileTab::updateLayout);

    const double factor = ScalingHandlerCont::instance()->getScaleFactor();
    tileW = static_cast<int>(std::lround(tileW * factor));
    tileH = static_cast<int>(std::lround(tileH * factor));
    updateLayout();
}

TileTab::~TileTab() = default;

void TileTab::createTile(int id, const QString &title, const QString &description, int status)
{
    auto *tile = new ConfigurationTile(this);
    tile->setTileId(id);
    tile->setTitle(title);
    tile->setDescription(description);
    tile->setStatus(status, QString());
    tile->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    tile->setMinimumSize(tileW, tileH);
    tile->setMaximumSize(tileW, tileH);
    connect(tile, &ConfigurationTile::signal_tilePressed, this,
            [this](uint8_t tileId) { tilePressedSlot(tileId); });
    tileList.append(tile);
    emit tileCountchanged();
}

ConfigurationTile *TileTab::getTile(int id) const
{
    for (ConfigurationTile *tile : tileList)
        if (tile->tileId() == id)
            return tile;
    return nullptr;
}

void TileTab::updateTile(int id, const QString &title, const QString &description, int status)
{
    ConfigurationTile *tile = getTile(id);
    if (!tile)
        return;
    tile->setTileId(id);
    tile->setTitle(title);
    tile->setDescription(description);
    tile->setStatus(status, QString());
}

int TileTab::columnsFor(int available, int tileWidth, int spacing, int visibleTiles)
{
    for (int k = visibleTiles; k >= 1; --k) {
        // 64 bits: a huge tile count must not overflow the product.
        const qint64 needed = qint64(k) * tileWidth + qint64(k - 1) * spacing;
        if (available > needed)
            return k;
    }
    return 1;
}

int TileTab::sideFor(int available, int spacing, int columns)
{
    // A tab narrower than its margins would give a negative side.
    return qMax(0, (available - (columns - 1) * spacing) / columns);
}

void TileTab::updateLayout()
{
    auto *grid = qobject_cast<QGridLayout *>(scrollAreaWidgetContents->layout());
    if (!grid)
        return;
    int visible = 0;
    for (ConfigurationTile *tile : tileList) {
        // Hidden tiles give up their place: the grid is refilled from scratch.
        grid->removeWidget(tile);
        if (!hiddenByOwner(tile))
            ++visible;
    }
    const QMargins margins = grid->contentsMargins();
    const int available = width() - margins.left() - margins.right();
    const int spacing = grid->horizontalSpacing();
    const int columns = columnsFor(available, tileW, spacing, visible);
    const int side = sideFor(available, spacing, columns);

    int position = 0;
    for (ConfigurationTile *tile : tileList) {
        if (hiddenByOwner(tile))
            continue;
        tile->setMinimumSize(side, side);
        tile->setMaximumSize(side, side);
        grid->addWidget(tile, position / columns, position % columns, 1, 1);
        ++position;
    }
}

void TileTab::translateUiSlot(QWidget *)
{
}

void TileTab::tilePressedSlot(int32_t id)
{
    emit tilePressed(id);
}

bool TileTab::event(QEvent *event)
{
    if (event->type() == QEvent::Resize)
        updateLayout();
    return BaseWidget::event(event);
}
