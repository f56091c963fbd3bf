#pragma once

#include "basewidget.h"

#include <QPixmap>
#include <QString>
#include <cstdint>

namespace Ui {
class ConfigurationTile;
}

// One square tile of the overview page: a title, a hint of what a click
// does and a status icon. A left click reports the tile's id.
class ConfigurationTile : public BaseWidget
{
    Q_OBJECT
public:
    explicit ConfigurationTile(QWidget *parent = nullptr);
    ~ConfigurationTile() override;

    int tileId() const { return id; }
    void setTileId(int newId) { id = newId; }
    void setTitle(const QString &title);
    void setDescription(const QString &description);
    // 0 shows the warning icon, 1 the success icon, anything else hides it.
    void setStatus(int status, const QString &toolTip);
    void setTileToolTip(const QString &toolTip);
    void setIcon(const QPixmap &pixmap);

    QString title() const;
    QString description() const;
    QString statusToolTip() const;
    // The `TileStatus` property of the status icon and whether it is shown.
    QString statusProperty() const;
    bool statusIconShown() const;

signals:
    void signal_tilePressed(uint8_t tileId);

public slots:
    void ScaleFactorChange(double factor) override;
    // The owner sets the texts again after a language change.
    void translateUiSlot(QWidget *ptr) override;

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    Ui::ConfigurationTile *ui;
    int id = 0;
};
