#include "configtab.h"
#include "ui_configtab.h"

#include "columnreflow.h"
#include "confighandler.h"
#include "configactionbar.h"
#include "device.h"
#include "eventdetect.h"
#include "flowlayout.h"
#include "navtreeitemdelegate.h"
#include "navtreemodel.h"
#include "scalinghandlercont.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QDebug>
#include <QGridLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <cmath>

namespace {

Confighandler *configModel()
{
    return Device::instance()->confighandler();
}

const QItemSelectionModel::SelectionFlags kSelectRow =
    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;

QSize scaledSize(const QSize &size, double factor)
{
    return QSize(int(std::lround(size.width() * factor)), int(std::lround(size.height() * factor)));
}

} // namespace

ConfigTab::ConfigTab(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::ConfigTab)
{
    ui->setupUi(this);
    ui->wdgCfgActionBar->setConfigTab(this);
    ui->treeSel->setDropIndicatorShown(false);
    // The header has no titles to show. The names are its last section,
    // which must keep the width of its contents: stretched to the tree's
    // width, it would make the tree wider at each fitting (each language
    // change).
    ui->treeSel->header()->hide();
    ui->treeSel->header()->setStretchLastSection(false);

    const QList<QAbstractButton *> buttons = {ui->btnChn1, ui->btnChn2, ui->btnChn3, ui->btnChn4,
                                              ui->btnChn5, ui->btnChn6, ui->btnChn7};
    channelButtons = std::make_shared<QButtonGroup>(this);
    channelButtons->setExclusive(true);
    for (int n = 0; n < buttons.size(); ++n) {
        channelButtons->addButton(buttons.at(n), n);
        auto *detect = new EventDetect(QEvent::MouseButtonDblClick, 0, buttons.at(n));
        buttons.at(n)->installEventFilter(detect);
        connect(detect, &EventDetect::eventDetected, this, &ConfigTab::chnButtonDoubleclicked);
    }
    const QList<QAbstractButton *> checks = {ui->chkChn1, ui->chkChn2, ui->chkChn3, ui->chkChn4,
                                             ui->chkChn5, ui->chkChn6, ui->chkChn7};
    enableChecks = std::make_shared<QButtonGroup>(this);
    enableChecks->setExclusive(false);
    for (int n = 0; n < checks.size(); ++n)
        enableChecks->addButton(checks.at(n), n);

    channelFrames = {ui->wdgChn1, ui->wdgChn2, ui->wdgChn3, ui->wdgChn4,
                     ui->wdgChn5, ui->wdgChn6, ui->wdgChn7};
    // Seven channel tabs do not fit beside the navigation tree in a
    // 1024 px window (less so in German): they wrap onto a second row
    // instead of being cut at the page's edge.
    delete ui->widget_4->layout();
    auto *channelRow = new FlowLayout(ui->widget_4);
    channelRow->setContentsMargins(0, 0, 0, 0);
    channelRow->setSpacing(0);
    channelRow->setUniformColumns(true);
    for (QWidget *frame : channelFrames)
        channelRow->addWidget(frame);
    for (QWidget *frame : channelFrames) {
        auto *detect = new EventDetect(QEvent::MouseButtonPress, 0, frame);
        frame->installEventFilter(detect);
        connect(detect, &EventDetect::eventDetected, this, &ConfigTab::chnWdgPressed);
    }
    for (QAbstractButton *check : checks)
        connect(check, &QAbstractButton::toggled, this, &ConfigTab::chnButtonchecked);
    connect(channelButtons.get(), QOverload<int>::of(&QButtonGroup::buttonClicked), this,
            [this](int id) { chnButtonclicked(id); });

    const double factor = ScalingHandlerCont::instance()->getScaleFactor();
    for (QWidget *frame : channelFrames) {
        frame->setMinimumSize(scaledSize(frame->minimumSize(), factor));
        ScalingHandlerCont::scaleLayout(frame, factor);
    }
    ui->widget_4->setMinimumSize(scaledSize(ui->widget_4->minimumSize(), factor));
    ScalingHandlerCont::scaleLayout(ui->widget_4, factor);
    for (QAbstractButton *check : checks)
        check->setMinimumSize(scaledSize(check->minimumSize(), factor));
    for (QAbstractButton *button : buttons)
        button->setMinimumSize(scaledSize(button->minimumSize(), factor));

    // The fieldbus form pairs its fields in two columns, too wide beside
    // the tree of a 1024 px window (in German the more): one column there.
    QList<QGridLayout *> pairedFields;
    for (QGridLayout *grid : ui->wdgFBConfig->findChildren<QGridLayout *>()) {
        if (grid->columnCount() == 2)
            pairedFields << grid;
    }
    new ColumnReflow(ui->wdgFBConfig, pairedFields);

    connectWrapperSignals(ui->wdgCfgActionBar, this);
    connectWrapperSignals(ui->wdgConfigOutputTab, this);
    connectWrapperSignals(ui->wdgFBConfig, this);
    ui->lineProParam->hide();

    buildNavTree();

    connect(this, &ConfigTab::saveCommonParams, ui->wdgCommonParam, &ConfigCommonParams::saveCommonParams);
    connect(ui->wdgCommonParam, &ConfigCommonParams::editRefused, this, &ConfigTab::noteRefusal);
    connect(ui->wdgConfigOutputTab, &ConfigOutputTab::editRefused, this, &ConfigTab::noteRefusal);
    connect(this, &ConfigTab::currentChannelchanged, ui->wdgSensor,
            [this](int32_t c) { ui->wdgSensor->currentChannelchanged(uint8_t(c)); });
    connect(this, &ConfigTab::currentChannelchanged, ui->wdgMapping,
            [this](int32_t c) { ui->wdgMapping->currentChannelchanged(uint8_t(c)); });
    connect(this, &ConfigTab::currentChannelchanged, ui->wdgConfigOutputTab,
            &ConfigOutputTab::channelIdxchanged);
    Device *device = Device::instance();
    connect(configModel(), &Confighandler::ConfigDevicechanged, this, &ConfigTab::updateConfigDevice);
    connect(configModel(), &Confighandler::Channelnamechanged, this, &ConfigTab::updateChannelname);
    connect(device->ethernetHandler(), &EthernetHandler::connectionLost, this, &ConfigTab::lostconnection);
    connect(device->ethernetHandler(), &EthernetHandler::connectionPing, this,
            &ConfigTab::connectionsuccesfull);
    connectWrapperSignals(ui->wdgCommonParam, this);
    connectWrapperSignals(ui->wdgConnParam, this);
    connectWrapperSignals(ui->wdgUpdateFW, this);
    connectWrapperSignals(ui->wdgProdInfo, this);
    connectWrapperSignals(ui->wdgResetDefConf, this);
    connectWrapperSignals(ui->wdgResetIP, this);
    connectWrapperSignals(ui->wdgSensor, this);
    connectWrapperSignals(ui->wdgMapping, this);

    emitCurrentChannel();
    selectIndex(model->index(0, 0));
    ui->treeSel->resizeColumnToContents(0);
    fitTreeWidth();
    lostconnection();
}

void ConfigTab::fitTreeWidth()
{
    // As wide as its names, so the pages get the rest of the window.
    const int width = ui->treeSel->columnWidth(0) + ui->treeSel->columnWidth(1)
                      + 2 * ui->treeSel->frameWidth() + ui->treeSel->indentation();
    ui->treeSel->setFixedWidth(width);
}

ConfigTab::~ConfigTab()
{
    delete ui;
}

int32_t ConfigTab::currentChannel()
{
    const int id = channelButtons->checkedId();
    if (id >= 0 && id <= 6)
        return id;
    ui->btnChn1->setChecked(true);
    return 0;
}

void ConfigTab::emitCurrentChannel()
{
    channel = currentChannel();
    emit currentChannelchanged(channel);
}

void ConfigTab::buildNavTree()
{
    model = std::make_shared<NavTreeModel>(this);
    delegate = std::make_shared<NavTreeItemDelegate>(this);
    ui->treeSel->setModel(model.get());

    struct Row
    {
        const char *text;
        bool child;
        QWidget *page;
        QScrollArea *area;
    };
    const Row rows[] = {
        {QT_TR_NOOP("Common Settings"), false, ui->wdgCommonParam, ui->scrollAreaCommonParam},
        {QT_TR_NOOP("PPU Network Settings"), false, ui->wdgConnParam, ui->scrollAreaConnParam},
        {QT_TR_NOOP("Channel Configuration"), false, ui->lblGeneralParam, ui->scrollAreaChannelConfig},
        {QT_TR_NOOP("General Parameter"), true, ui->gpbChannelName, ui->scrollAreaChannelConfig},
        {QT_TR_NOOP("Sensor Parameter"), true, ui->wdgSensor, ui->scrollAreaChannelConfig},
        {QT_TR_NOOP("Channel Parameter"), true, ui->wdgMapping, ui->scrollAreaChannelConfig},
        {QT_TR_NOOP("Output Configuration"), true, ui->wdgConfigOutputTab, ui->scrollAreaChannelConfig},
        {QT_TR_NOOP("Fieldbus Configuration"), false, ui->wdgFBConfig, ui->scrollAreaFBConfig},
        {QT_TR_NOOP("Product Information"), false, ui->wdgProdInfo, ui->scrollAreaProdInfo},
        {QT_TR_NOOP("Update Firmware"), false, ui->wdgUpdateFW, ui->scrollAreaUpdate},
        {QT_TR_NOOP("Reset"), false, ui->wdgResetJMP, ui->scrollAreaReset},
        {QT_TR_NOOP("Reset Network Settings"), true, ui->wdgResetJMP, ui->scrollAreaReset},
        {QT_TR_NOOP("Reset Default Config"), true, ui->wdgResetDefConf, ui->scrollAreaReset},
    };
    NavTreeItem *root = model->rootItem();
    for (const Row &row : rows) {
        NavTreeItem *parentItem = root;
        QModelIndex parentIndex;
        if (row.child) {
            parentItem = root->child(root->childCount() - 1);
            parentIndex = model->indexForItem(parentItem);
        }
        model->addChild(std::make_shared<NavTreeItem>(tr(row.text), parentItem, row.page), parentIndex);
        scrollAreas.insert(row.page, row.area);
    }
    model->refresh();

    const double factor = ScalingHandlerCont::instance()->getScaleFactor();
    // The marker is a narrow stripe; the header's own minimum is wider.
    ui->treeSel->header()->setMinimumSectionSize(1);
    ui->treeSel->setColumnWidth(1, int(factor * 5.0));
    ui->treeSel->setItemDelegateForColumn(1, delegate.get());
    // The header keeps its section order when the model is replaced (on
    // every language change): move the marker only when it is not first.
    QHeaderView *header = ui->treeSel->header();
    if (header->visualIndex(1) != 0)
        header->moveSection(header->visualIndex(1), 0);
    ui->treeSel->expandAll();
    connect(ui->treeSel->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ConfigTab::slot_wdgNavTree_selectionChanged);
}

QModelIndex ConfigTab::findIndexForPage(NavTreeItem *item, QWidget *page) const
{
    if (!item || !page)
        return QModelIndex();
    if (item->page() == page)
        return model->indexForItem(item);
    for (int row = 0; row < item->childCount(); ++row) {
        const QModelIndex found = findIndexForPage(item->child(row), page);
        if (found.isValid())
            return found;
    }
    return QModelIndex();
}

bool ConfigTab::findWidgetIn(QWidget *widget, const std::function<bool(QWidget *)> &predicate)
{
    if (!widget || !predicate)
        return false;
    if (predicate(widget))
        return true;
    for (QObject *child : widget->children()) {
        if (auto *w = qobject_cast<QWidget *>(child)) {
            if (findWidgetIn(w, predicate))
                return true;
        }
    }
    return false;
}

void ConfigTab::TreeselectWdg(NavTreeItem *parent, QWidget *selectWdgPtr)
{
    if (!parent || !selectWdgPtr)
        return;
    for (int row = 0; row < parent->childCount(); ++row) {
        NavTreeItem *child = parent->child(row);
        if (child->page() == selectWdgPtr) {
            selectIndex(model->indexForItem(child));
            return;
        }
        const QModelIndex below = findIndexForPage(child, selectWdgPtr);
        if (below.isValid()) {
            selectIndex(below);
            return;
        }
    }
}

void ConfigTab::selectIndex(const QModelIndex &index)
{
    if (index.isValid())
        ui->treeSel->selectionModel()->select(index, kSelectRow);
}

QWidget *ConfigTab::selectedPage() const
{
    const QModelIndexList rows = ui->treeSel->selectionModel()->selectedIndexes();
    if (rows.isEmpty())
        return nullptr;
    return rows.first().data(Qt::UserRole).value<QWidget *>();
}

void ConfigTab::slot_wdgNavTree_selectionChanged(QItemSelection selected, QItemSelection)
{
    qDebug() << "Seleceted Item" << selected;
    if (selected.isEmpty() || selected.indexes().isEmpty())
        return;
    const QVariant data = selected.indexes().first().data(Qt::UserRole);
    qDebug() << " User Role data " << data;
    QWidget *page = data.value<QWidget *>();
    if (!page)
        return;
    for (int n = 0; n < ui->stackedWidget->count(); ++n) {
        if (findWidgetIn(ui->stackedWidget->widget(n), [page](QWidget *w) { return w == page; })) {
            ui->stackedWidget->setCurrentIndex(n);
            break;
        }
    }
    on_stackedWidget_currentChanged(ui->stackedWidget->currentIndex());
}

void ConfigTab::on_stackedWidget_currentChanged(int)
{
    QWidget *page = selectedPage();
    if (!page)
        return;
    QScrollArea *area = scrollAreas.value(page, nullptr);
    if (!area)
        return;
    if (findWidgetIn(area, [page](QWidget *w) {
            if (w != page)
                return false;
            qDebug() << "found wdg";
            return true;
        })) {
        qDebug() << "found child of " << area;
        // The channel name box stands under the general section's heading.
        scrollIntoView(area, page, page == ui->gpbChannelName ? ui->lblGeneralParam : nullptr);
    }
    if (page == ui->wdgProdInfo)
        ui->wdgProdInfo->triggerReadout();
}

QAbstractScrollArea *ConfigTab::pageArea() const
{
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        if (auto *area = qobject_cast<QAbstractScrollArea *>(w))
            return area;
    }
    return nullptr;
}

bool ConfigTab::fitPageToRoom()
{
    auto *area = scrollAreas.value(selectedPage(), nullptr);
    QAbstractScrollArea *outer = pageArea();
    if (outer && outer->viewport() != watchedRoom) {
        watchedRoom = outer->viewport();
        watchedRoom->installEventFilter(this);
    }
    // Pages that are not shown take no height: the least height of the
    // channel page (its tabs above its sections) kept the window's page
    // area scrolling under every other page too.
    for (int n = 0; n < ui->stackedWidget->count(); ++n) {
        QWidget *stacked = ui->stackedWidget->widget(n);
        const QSizePolicy::Policy policy =
            stacked == ui->stackedWidget->currentWidget() ? QSizePolicy::Preferred : QSizePolicy::Ignored;
        QSizePolicy sizing = stacked->sizePolicy();
        if (sizing.verticalPolicy() != policy) {
            sizing.setVerticalPolicy(policy);
            stacked->setSizePolicy(sizing);
        }
    }
    for (QScrollArea *other : scrollAreas) {
        if (other != area && other->minimumHeight() > 0)
            other->setMinimumHeight(0);
    }
    if (!area || !area->widget())
        return true;
    QWidget *content = area->widget();
    // What the page's own area shows at the height the view is given: the
    // room the window's page area offers less what stands above the area
    // (the action bar, the channel tabs) at its least height.
    const int shownLeast = area->minimumHeight() > 0 ? area->minimumHeight() : area->minimumSizeHint().height();
    const int above = minimumSizeHint().height() - shownLeast;
    const int room = (outer ? outer->viewport()->height() : height()) - above;
    // Sections as tall as they need (without the room kept below the last
    // ones for scrolling them to the top).
    const int sections = qMax(content->minimumSizeHint().height(),
                              content->hasHeightForWidth() ? content->heightForWidth(content->width()) : 0);
    // A strip lower than this shows a section's heading and hardly any of
    // its fields, at any scale (a large scale on a common screen, a small
    // scale in the window as it opens), while the window's page area would
    // scroll the rest a second time: there the page's own area shows all
    // its sections and the page area alone scrolls.
    const int leastUsefulRoom = 100;
    const bool ownScroll = !outer || room >= qMin(leastUsefulRoom, sections);
    const int least = ownScroll ? 0 : sections + 2 * area->frameWidth();
    if (area->minimumHeight() != least)
        area->setMinimumHeight(least);
    return ownScroll;
}

void ConfigTab::showEvent(QShowEvent *event)
{
    BaseWidget::showEvent(event);
    fitPageToRoom();
}

void ConfigTab::scrollIntoView(QScrollArea *area, QWidget *page, QWidget *heading)
{
    // A page just shown in the stack (or re-texted) gets its place only
    // through the layout requests posted meanwhile: measured before, the
    // section would be scrolled to where it is no longer.
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QWidget *content = area->widget();
    content->setMinimumHeight(0);
    const bool ownScroll = fitPageToRoom();
    // A new height climbs the layouts up to the window's page area one
    // posted request per level.
    for (int pass = 0; pass < 8; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // Pages scroll up and down only: a widget as wide as the area is never
    // a reason to scroll sideways.
    area->horizontalScrollBar()->setValue(0);
    QWidget *top = heading && heading->mapTo(content, QPoint()).y() < page->mapTo(content, QPoint()).y() ? heading
                                                                                                       : page;
    if (!ownScroll) {
        // The window's page area scrolls the whole page: the section's
        // heading to its top, or as far as the page goes (the last sections
        // then stand whole at its foot).
        QAbstractScrollArea *outer = pageArea();
        QWidget *held = outer->viewport()->findChild<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
        area->verticalScrollBar()->setValue(0);
        if (held && held->isAncestorOf(top))
            outer->verticalScrollBar()->setValue(top->mapTo(held, QPoint()).y());
        return;
    }
    const int y = top->mapTo(content, QPoint()).y();
    // The chosen section's heading stands at the top of the area, where the
    // first section's does, and the section above it, with its buttons, is
    // out of sight. The last sections are lower than the area: they get the
    // room below them to be scrolled up so far, and give it back when an
    // earlier section is chosen.
    const int needed = y + area->viewport()->height();
    content->setMinimumHeight(needed > content->minimumSizeHint().height() ? needed : 0);
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    area->verticalScrollBar()->setValue(y);
}

void ConfigTab::HandletilePressedSlot(int32_t id)
{
    QWidget *page = nullptr;
    switch (id) {
    case 0: page = ui->wdgCommonParam; break;
    case 1: page = ui->wdgSensor; break;
    case 2: page = ui->wdgMapping; break;
    case 4: page = ui->wdgFBConfig; break;
    case 5: page = ui->wdgConnParam; break;
    case 6: page = ui->wdgUpdateFW; break;
    default: return;
    }
    selectIndex(findIndexForPage(model->rootItem(), page));
}

bool ConfigTab::fieldbusUsable(const FieldbusStatusRecord &status)
{
    static const uint16_t kNetworks[] = {0x0001, 0x0005, 0x0020, 0x0025, 0x0045, 0x0065, 0x0080,
                                         0x0084, 0x0085, 0x0087, 0x0089, 0x0090, 0x0093, 0x0095,
                                         0x0096, 0x0098, 0x0099, 0x009A, 0x009B, 0x009C, 0x009D,
                                         0x009E, 0x009F, 0x00A3, 0x00AB, 0x00AD, 0x00AE};
    bool known = false;
    for (uint16_t code : kNetworks)
        known = known || code == status.networkType;
    return known && status.moduleType >= 0x0401 && status.moduleType <= 0x0403 && status.moduleState <= 6
           && status.commState <= 2;
}

void ConfigTab::showFieldbusRow(bool shown)
{
    const QModelIndex row = findIndexForPage(model->rootItem(), ui->wdgFBConfig);
    if (row.isValid())
        ui->treeSel->setRowHidden(row.row(), row.parent(), !shown);
}

void ConfigTab::selectCommonSettingsIfNeeded()
{
    const QModelIndexList rows = ui->treeSel->selectionModel()->selectedIndexes();
    const QModelIndex fieldbus = findIndexForPage(model->rootItem(), ui->wdgFBConfig);
    if (rows.isEmpty() || (fieldbus.isValid() && rows.first().row() == fieldbus.row()
                           && rows.first().parent() == fieldbus.parent()))
        selectIndex(model->index(0, 0));
}

void ConfigTab::connectionsuccesfull(HearBeatMessage_t &states, QHostAddress)
{
    const bool usable = fieldbusUsable(states.fieldbus);
    showFieldbusRow(usable);
    if (usable) {
        ui->wdgFBConfig->show();
        emit showFBTile();
    } else {
        emit hideFBTile();
        ui->wdgFBConfig->hide();
        selectCommonSettingsIfNeeded();
    }
}

void ConfigTab::lostconnection()
{
    ui->wdgFBConfig->hide();
    showFieldbusRow(false);
    selectCommonSettingsIfNeeded();
    emit hideFBTile();
}

void ConfigTab::on_leditChannelName_editingFinished()
{
    commitChannelName();
}

bool ConfigTab::commitChannelName()
{
    QLineEdit *edit = ui->leditChannelName;
    if (!edit->isModified())
        return true;
    const QString name = edit->text();
    // Taken before the refusal is shown, which may move the focus.
    const bool focusLeft = QApplication::focusWidget() != edit;
    // The channel the name was typed for: a click on a channel button
    // checks that button before the switch runs.
    const uint8_t channelIndex = uint8_t(channel >= 0 && channel <= 6 ? channel : currentChannel());
    const errorCode_e r = configModel()->setChannelname(name, channelIndex);
    if (r == ERR_OK)
        return true;
    QString reason = Confighandler::channelNameProblem(name);
    if (reason.isEmpty())
        reason = ErrorDecode::decode(r);
    printNotification(reason, false, QMessageBox::Critical, false);
    // The name that is really kept; setting it also ends the modification.
    edit->setText(configModel()->channelName(channelIndex));
    if (focusLeft)
        noteRefusal();
    return false;
}

void ConfigTab::noteRefusal()
{
    // Only a refusal as the focus left the box (not one by Enter), for the
    // widget that took the focus (the button or the scroll area around it),
    // and only until the press that moved the focus is released.
    refusedFor = QApplication::focusWidget();
    qApp->installEventFilter(this);
}

bool ConfigTab::eventFilter(QObject *watched, QEvent *event)
{
    // The room the window gives the view has changed: the shown page's own
    // area may scroll it now, or must give that to the window's page area.
    if (watched == watchedRoom && event->type() == QEvent::Resize) {
        fitPageToRoom();
        return BaseWidget::eventFilter(watched, event);
    }
    // The press (or key) that moved the focus is over once it is released
    // or another key comes: the refusal belonged to it alone.
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        refusedFor = nullptr;
        qApp->removeEventFilter(this);
        break;
    default:
        break;
    }
    return BaseWidget::eventFilter(watched, event);
}

bool ConfigTab::commitPendingEdits()
{
    emit saveBlobInfo();
    // The common settings first: the refresh that storing them starts
    // replaces only values that changed, so what is still typed on the
    // other pages survives it and is taken after.
    emit saveCommonParams();
    bool taken = ui->wdgCommonParam->commitDeviceName();
    taken = commitChannelName() && taken;
    taken = ui->wdgConfigOutputTab->commitPendingEdits() && taken;
    return taken;
}

void ConfigTab::chnButtonchecked()
{
    CFG_Device_Param_struct block = configModel()->getDeviceConfig();
    uint8_t mask = block.channelEnableMask() & 0x80;
    for (int n = 0; n < 7; ++n) {
        if (enableChecks->button(n)->isChecked())
            mask |= uint8_t(1u << n);
    }
    block.setChannelEnableMask(mask);
    configModel()->setDeviceConfig(block);
}

void ConfigTab::chnButtonclicked(int32_t id)
{
    qDebug() << "chnButtonclicked id" << id;
    // The channel buttons take no focus, so nothing typed has been finished
    // by a focus change: what is pending belongs to the channel shown now.
    commitPendingEdits();
    if (QAbstractButton *button = channelButtons->button(id))
        button->setChecked(true);
    emitCurrentChannel();
    configModel()->emitConfigChanged();
}

void ConfigTab::chnButtonDoubleclicked(QObject *obj)
{
    auto *button = qobject_cast<QAbstractButton *>(obj);
    if (!button)
        return;
    if (QAbstractButton *check = enableChecks->button(channelButtons->id(button)))
        check->toggle();
}

void ConfigTab::chnWdgPressed(QObject *obj)
{
    auto *frame = qobject_cast<QWidget *>(obj);
    const int n = channelFrames.indexOf(frame);
    if (n >= 0 && n <= 6)
        enableChecks->button(n)->toggle();
}

void ConfigTab::updateConfigDevice(CFG_Device_Param_struct newcfgentry)
{
    for (int n = 0; n < 7; ++n) {
        QAbstractButton *check = enableChecks->button(n);
        const bool wasBlocked = check->blockSignals(true);
        check->setChecked(newcfgentry.channelEnableMask() & (1u << n));
        check->blockSignals(wasBlocked);
    }
    updateButtonStyle();
}

void ConfigTab::updateButtonStyle()
{
    const int selected = channelButtons->checkedId();
    for (int n = 0; n < 7; ++n) {
        const bool on = n == selected;
        QAbstractButton *check = enableChecks->button(n);
        QAbstractButton *button = channelButtons->button(n);
        check->setProperty("isBackground2", on);
        button->setProperty("isBackground2", on);
        QWidget *frame = check->parentWidget();
        if (frame)
            frame->setProperty("isBackground2", on);
        polishWidget(frame);
        polishWidget(check);
        polishWidget(button);
    }
}

void ConfigTab::updateChannelname(QString newChannelname, uint8_t channelindex)
{
    if (channelindex > 6)
        return;
    const QString shown = Confighandler::elideText(newChannelname, 16);
    QAbstractButton *button = channelButtons->button(channelindex);
    button->setToolTip(shown != newChannelname ? newChannelname : QString());
    button->setText(shown);
    if (channelindex == currentChannel())
        ui->leditChannelName->setText(newChannelname);
}

void ConfigTab::translateUiSlot(QWidget *)
{
    ui->retranslateUi(this);
    QWidget *remembered = selectedPage();
    buildNavTree();
    TreeselectWdg(model->rootItem(), remembered);
    ui->treeSel->resizeColumnToContents(0);
    fitTreeWidth();
    lostconnection();
    // The pages get their new texts (and so their new heights) after this
    // one: the section shown is brought into view again once they have.
    QTimer::singleShot(0, this, [this] { on_stackedWidget_currentChanged(ui->stackedWidget->currentIndex()); });
}
