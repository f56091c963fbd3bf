#pragma once

#include "basewidget.h"

#include <QList>
#include <QString>
#include <cstdint>

class ConfigurationTile;
class QGridLayout;
class QScrollArea;

// The overview page: a scrollable grid of square tiles, as many columns as
// the width allows, each tile grown to fill that width. The tab knows no
// particular tile; its owner creates them and reacts to tilePressed.
class TileTab : public BaseWidget
{
    Q_OBJECT
public:
    explicit TileTab(QWidget *parent = nullptr);
    ~TileTab() override;

    void createTile(int id, const QString &title, const QString &description, int status);
    // The first tile with this id, or null.
    ConfigurationTile *getTile(int id) const;
    void updateTile(int id, const QString &title, const QString &description, int status);
    const QList<ConfigurationTile *> &tiles() const { return tileList; }
    int tileWidth() const { return tileW; }
    int tileHeight() const { return tileH; }

    // The grid the tiles take: the most columns (n down to 1) whose tiles of
    // `tileWidth` and the spacing between them fit strictly inside
    // `available`; 1 when none fits or there is no tile.
    static int columnsFor(int available, int tileWidth, int spacing, int visibleTiles);
    // The side of a tile when `columns` share `available`.
    static int sideFor(int available, int spacing, int columns);

signals:
    void tilePressed(int32_t id);
    void tileCountchanged();

public slots:
    void updateLayout();
    void translateUiSlot(QWidget *ptr) override;
    void tilePressedSlot(int32_t id);

protected:
    bool event(QEvent *event) override;

private:
    QGridLayout *gridLayout_3 = nullptr;
    QScrollArea *scrollArea = nullptr;
    QWidget *scrollAreaWidgetContents = nullptr;
    QGridLayout *gridLayout_4 = nullptr;
    QList<ConfigurationTile *> tileList;
    int tileW = 200;
    int tileH = 200;
};
