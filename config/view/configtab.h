#pragma once

#include "basewidget.h"
#include "configrecords.h"
#include "devicerecords.h"

#include <QHostAddress>
#include <QItemSelection>
#include <QMap>
#include <QModelIndex>
#include <QPointer>
#include <functional>
#include <memory>

class NavTreeItem;
class NavTreeItemDelegate;
class NavTreeModel;
class QButtonGroup;
class QScrollArea;
class QAbstractScrollArea;

namespace Ui {
class ConfigTab;
}

// The "Configure" page: a navigation tree of the configuration topics beside
// the stacked pages, and on the channel page the channel selector (the
// current channel) with the channel enable check boxes. It owns the current
// channel and announces it to the channel pages; it edits only the channel
// enable mask and the channel names itself.
class ConfigTab : public BaseWidget
{
    Q_OBJECT
public:
    explicit ConfigTab(QWidget *parent = nullptr);
    ~ConfigTab() override;

    // The checked channel button, 0 to 6; checks channel 1 when none is.
    int32_t currentChannel();
    void emitCurrentChannel();
    // Hands everything typed on the pages but not yet confirmed to the
    // model, through the same setters as Enter would: the common settings,
    // the device and channel names and the output values, each for the
    // channel it was typed for. False when the model refused any of it (the
    // refusal is reported and the edit shows what is stored).
    bool commitPendingEdits();
    NavTreeModel *navModel() const { return model.get(); }
    // The first item at or below `item` that leads to `page`.
    QModelIndex findIndexForPage(NavTreeItem *item, QWidget *page) const;
    static bool findWidgetIn(QWidget *widget, const std::function<bool(QWidget *)> &predicate);
    // The fieldbus status of a heartbeat names a module that can be configured.
    static bool fieldbusUsable(const FieldbusStatusRecord &status);
    // Whether a typed name or value was refused just now, as the focus left
    // its box for `target`: a click on a button takes the focus before the
    // button sees the press, so the button learns this way that its click
    // cost an edit.
    bool editRefusedFor(const QWidget *target) const
    {
        return target && refusedFor && (refusedFor == target || refusedFor->isAncestorOf(target));
    }
    // The page of the selected tree row, or null.
    QWidget *selectedPage() const;
    // The view takes the height it is given and scrolls its pages in their
    // own areas. Reporting the height its rows would like for a width (the
    // wrapping channel and button rows) made the window's page area size it
    // to the whole of the tallest page and scroll it a second time.
    bool hasHeightForWidth() const override { return false; }
    int heightForWidth(int) const override { return -1; }

signals:
    void saveBlobInfo();
    void saveCommonParams();
    void currentChannelchanged(int32_t Channel);
    void enterDialog(QWidget *widget);
    void exitDialog();
    void showFBTile();
    void hideFBTile();

public slots:
    void updateConfigDevice(CFG_Device_Param_struct newcfgentry);
    void updateChannelname(QString newChannelname, uint8_t channelindex);
    void HandletilePressedSlot(int32_t id);
    void lostconnection();
    void connectionsuccesfull(HearBeatMessage_t &states, QHostAddress sender);
    void slot_wdgNavTree_selectionChanged(QItemSelection selected, QItemSelection deselected);
    void on_leditChannelName_editingFinished();
    void chnButtonchecked();
    void chnButtonclicked(int32_t id);
    void chnButtonDoubleclicked(QObject *obj);
    void chnWdgPressed(QObject *obj);
    void on_stackedWidget_currentChanged(int arg1);
    void updateButtonStyle();
    void TreeselectWdg(NavTreeItem *parent, QWidget *selectWdgPtr);
    void translateUiSlot(QWidget *ptr) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildNavTree();
    bool commitChannelName();
    void fitTreeWidth();
    void selectIndex(const QModelIndex &index);
    void showFieldbusRow(bool shown);
    void selectCommonSettingsIfNeeded();
    void noteRefusal();
    // Scrolls `area` so that the top of `page` (or of `heading`, which
    // stands above the page) is the top of the part one sees; the area gets
    // room below its last sections for that.
    void scrollIntoView(QScrollArea *area, QWidget *page, QWidget *heading = nullptr);
    // The scroll area of the window that holds the view (its page area),
    // or null when the view stands on its own.
    QAbstractScrollArea *pageArea() const;
    // Chooses which one area scrolls the shown page: its own, where the
    // room the window gives the view leaves it a useful height, else the
    // window's page area, with the page's own area as tall as its sections.
    // True when the page's own area scrolls.
    bool fitPageToRoom();

    Ui::ConfigTab *ui;
    int32_t channel = -1;
    QPointer<QWidget> refusedFor;
    std::shared_ptr<NavTreeModel> model;
    std::shared_ptr<NavTreeItemDelegate> delegate;
    std::shared_ptr<QButtonGroup> channelButtons;
    std::shared_ptr<QButtonGroup> enableChecks;
    QList<QWidget *> channelFrames;
    QMap<QWidget *, QScrollArea *> scrollAreas;
    QPointer<QWidget> watchedRoom;
};
