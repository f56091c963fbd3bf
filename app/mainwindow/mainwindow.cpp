#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "basewidget.h"
#include "configtab.h"
#include "confighandler.h"
#include "configurationtile.h"
#include "databasecont.h"
#include "device.h"
#include "dialogfit.h"
#include "ethernethandler.h"
#include "linegraph.h"
#include "loghandlercont.h"
#include "logtab.h"
#include "flowlayout.h"
#include "notificationbar.h"
#include "requestgate.h"
#include "scalinghandlercont.h"
#include "screenfit.h"
#include "statusbar.h"
#include "stylesheetcontainer.h"
#include "textfitfilter.h"
#include "tiletab.h"
#include "udpserver.h"
#include "valuebar.h"
#include "versioninfo.h"
#include "waitguard.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFileDialog>
#include <QMenu>
#include <QProgressBar>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <cmath>

// Tiles in the order they are created; the texts are translated when shown.
const MainWindow::TileText MainWindow::kTiles[] = {
    {TileNetworkSettings, QT_TRANSLATE_NOOP("MainWindow", "PPU Network Settings"),
     QT_TRANSLATE_NOOP("MainWindow", "View Configuration")},
    {TileCommonSettings, QT_TRANSLATE_NOOP("MainWindow", "Common Settings"),
     QT_TRANSLATE_NOOP("MainWindow", "View Configuration")},
    {TileSensorParameter, QT_TRANSLATE_NOOP("MainWindow", "Sensor Parameter"),
     QT_TRANSLATE_NOOP("MainWindow", "View Configuration")},
    {TileChannelParameter, QT_TRANSLATE_NOOP("MainWindow", "Channel Parameter"),
     QT_TRANSLATE_NOOP("MainWindow", "View Configuration")},
    {TileReferenceSetup, QT_TRANSLATE_NOOP("MainWindow", "Reference Setup"),
     QT_TRANSLATE_NOOP("MainWindow", "View Configuration")},
    {TileFieldbus, QT_TRANSLATE_NOOP("MainWindow", "Fieldbus Configuration"),
     QT_TRANSLATE_NOOP("MainWindow", "View Configuration")},
    {TileUpdateFirmware, QT_TRANSLATE_NOOP("MainWindow", "Update Firmware"),
     QT_TRANSLATE_NOOP("MainWindow", "View Options")},
};

namespace {

int scaled(double value, double factor)
{
    return static_cast<int>(std::lround(value * factor));
}

// A scroll area without frame around `content`, in `content`'s place.
QScrollArea *scrollInPlace(QWidget *content, const char *name)
{
    QWidget *parent = content->parentWidget();
    auto *area = new QScrollArea(parent);
    area->setObjectName(QLatin1String(name));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    delete parent->layout()->replaceWidget(content, area);
    area->setWidget(content);
    return area;
}

// Holds the dialog shown in the dialog page's scroll area, which gives it
// at least the dialog's least size at the area's width. A dialog with
// wrapped texts needs more height at its width than its minimum size says
// (asked for that only, the area would cut the dialog's lowest row, its
// buttons, off); asked for the height it would like at that width, the area
// would scroll a dialog that fits when its lists keep fewer rows.
class DialogArea : public QWidget
{
public:
    using QWidget::QWidget;
    QSize minimumSizeHint() const override
    {
        QSize size = QWidget::minimumSizeHint();
        QLayout *box = layout();
        if (!box)
            return size;
        const QMargins m = box->contentsMargins();
        for (int n = 0; n < box->count(); ++n) {
            QWidget *dialog = box->itemAt(n)->widget();
            if (dialog && !dialog->isHidden())
                size = size.expandedTo(dialogfit::leastSize(dialog, width() - m.left() - m.right())
                                       + QSize(m.left() + m.right(), m.top() + m.bottom()));
        }
        return size;
    }
    bool hasHeightForWidth() const override { return false; }
    int heightForWidth(int) const override { return -1; }
};

// The tab buttons and the connect, restart and More buttons share a row
// where it is wide enough; where not (a large scale on a small screen) the
// row wraps: the three buttons keep the right end of the last row, instead
// of lying past the window's edge.
void letTopBarWrap(QWidget *bar, const QList<QWidget *> &tabs, const QList<QWidget *> &tools)
{
    QLayout *row = bar->layout();
    const QMargins margins = row->contentsMargins();
    const int spacing = row->spacing();
    auto *toolGroup = new QWidget(bar);
    toolGroup->setObjectName(QStringLiteral("wdgTopButtons"));
    toolGroup->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto *toolLayout = new QHBoxLayout(toolGroup);
    toolLayout->setContentsMargins(0, 0, 0, 0);
    toolLayout->setSpacing(spacing);
    toolLayout->addStretch();
    for (QWidget *button : tools)
        toolLayout->addWidget(button);
    delete row;
    auto *flow = new FlowLayout(bar);
    flow->setContentsMargins(margins);
    flow->setSpacing(spacing);
    for (QWidget *tab : tabs)
        flow->addWidget(tab);
    flow->addWidget(toolGroup);
}

// The top bar keeps its one row (the tabs, then the three buttons at the
// right end) wherever the screen has the room for it: the window's minimum
// width grows to the row, as far as the screen's available width minus what
// lies around the bar allows. Only where the row is wider than that (a large
// scale on a small screen) does it wrap.
void keepTopBarRow(QWidget *bar)
{
    auto *flow = qobject_cast<FlowLayout *>(bar->layout());
    QWidget *window = bar->window();
    if (!flow || !window)
        return;
    int around = window->frameGeometry().width() - window->width();
    for (QWidget *w = bar->parentWidget(); w; w = w->parentWidget()) {
        if (QLayout *layout = w->layout())
            around += layout->contentsMargins().left() + layout->contentsMargins().right();
        if (w == window)
            break;
    }
    flow->setOneRowUpTo(screenfit::availableArea(window).width() - around);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
{
    // The form builds every page, the configuration view with the catalogue
    // selection pages included: they must exist before the catalogue is
    // initialised, or they miss its initcomplete.
    ui->setupUi(this);
    letPagesScroll();

    setWindowTitle(windowTitleText());

    auto *menu = new QMenu(this);
    menu->addAction(ui->actionLanguage);
    menu->addAction(ui->actionLicense);
    menu->addAction(ui->actionAbout);
    menu->addAction(ui->actionScaling);
    ui->actionHelp->setEnabled(false);
    ui->btnMore->setMenu(menu);

    valueBars = {ui->wdgBar1, ui->wdgBar2, ui->wdgBar3, ui->wdgBar4,
                 ui->wdgBar5, ui->wdgBar6, ui->wdgBar7};
    tabButtons = {ui->btnOverview, ui->btnDataTab, ui->btnConfTab, ui->btnLogTab};

    // Closing the window ends the program, also when the close arrives
    // while a request or a question waits in a nested event loop. Qt asks
    // the program to quit with a posted event, and every nested loop that
    // starts removes such posted quit events: a close handled in the same
    // pass as the end of a wait, followed by the next wait (the retry of a
    // request, the next request, a message), lost the quit and left the
    // program running without a window. Ending the event loops at once
    // cannot be lost: every loop running now ends, and one that starts
    // afterwards returns at once. Only sent while the program's event loop
    // runs.
    connect(qApp, &QGuiApplication::lastWindowClosed, this, [] {
        if (QGuiApplication::quitOnLastWindowClosed())
            QCoreApplication::exit(0);
    });

    Databasecont::instance().init();

    connectDevice();

    setupDataPage();

    progressBar = new QProgressBar(this);
    progressMax = 100;
    progressBar->setTextVisible(true);
    progressBar->setAlignment(Qt::AlignCenter);
    progressBar->setFormat(tr("title"));
    progressBar->hide();
    // Draws the percentage held back in a drawing slice (showProgress).
    progressCatchUp.setSingleShot(true);
    connect(&progressCatchUp, &QTimer::timeout, this, [this] {
        const int held = progressHeldBack;
        progressHeldBack = -1;
        if (held >= 0)
            showProgress(held);
    });
    dialogPlaceholder = ui->wdgDialog;
    dialogPlaceholder->hide();

    baseWidth = width();
    baseHeight = height();
    ScaleFactorchange(ScalingHandlerCont::instance()->getScaleFactor());
    ScalingHandlerCont::instance()->scaleLayout(this);
    // Below 1.0 the start window (the form size times the factor) is
    // narrower than the top bar's row; at 1.0 and above the user may still
    // make the window narrower than the row, and it wraps.
    if (ScalingHandlerCont::instance()->getScaleFactor() < 1.0)
        keepTopBarRow(ui->CommDisplay);
    // The dimmed margin around a dialog is room taken from the dialog: at a
    // large scale on a small screen the dialog needs it more.
    if (QLayout *around = ui->pageDialog->layout()) {
        const QMargins m = around->contentsMargins();
        const int most = 50;
        around->setContentsMargins(qMin(m.left(), most), qMin(m.top(), most), qMin(m.right(), most),
                                   qMin(m.bottom(), most));
        dialogMargins = around->contentsMargins();
    }
    setcurrentIndexes(PageOverview);

    createTiles();

    Device::instance()->confighandler()->emitConfigChanged();
    lostconnection();
}

QString MainWindow::windowTitleText()
{
    QString title = QStringLiteral("Service Setup Tool Korvantis %1.%2.%3")
                        .arg(VersionInfo::kMajor)
                        .arg(VersionInfo::kMinor, 2, 10, QLatin1Char('0'))
                        .arg(VersionInfo::kBuild, 5, 10, QLatin1Char('0'));
    if (QString::fromLatin1(VersionInfo::buildText()).contains(QLatin1Char('M')))
        title += QStringLiteral(" M");
    return title;
}

void MainWindow::letPagesScroll()
{
    // A page larger than the window scrolls inside it: the pages never make
    // the window larger than the screen, nor keep it from shrinking.
    QWidget *section = ui->stackScroll->parentWidget();
    auto *area = new QScrollArea(section);
    area->setObjectName(QStringLiteral("scrollPages"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    delete section->layout()->replaceWidget(ui->stackScroll, area);
    area->setWidget(ui->stackScroll);
    // So may the tool's title: cut at its end when the window is narrow.
    ui->label_3->setMinimumWidth(1);
    TextFitFilter::install(ui->label_3);

    // The window never grows past the screen (screenfit): what lies below
    // the top bar scrolls where it is larger than the window (the channel
    // row at a large scale), and so do dialogs larger than the dialog page.
    letTopBarWrap(ui->CommDisplay, {ui->btnOverview, ui->btnDataTab, ui->btnConfTab, ui->btnLogTab},
                  {ui->btnConnectToDevice, ui->btnRestartPPU, ui->btnMore});
    scrollInPlace(ui->stackConnection, "scrollConnection");
    auto *dialogArea = new DialogArea(ui->pageDialog);
    dialogArea->setObjectName(QStringLiteral("wdgDialogArea"));
    auto *dialogLayout = new QVBoxLayout(dialogArea);
    dialogLayout->setContentsMargins(0, 0, 0, 0);
    delete ui->pageDialog->layout()->replaceWidget(ui->wdgDialog, dialogArea);
    dialogLayout->addWidget(ui->wdgDialog);
    dialogScroll = scrollInPlace(dialogArea, "scrollDialog");
    // A new room for the dialog (the window resized, a message shown over
    // the dialog or gone) fits the dialog into it again.
    dialogScroll->installEventFilter(this);
    // The dimmed main page shows through around the dialog.
    dialogScroll->setStyleSheet(QStringLiteral("QScrollArea#scrollDialog, QWidget#wdgDialogArea "
                                               "{ background: transparent; }"));
    dialogScroll->viewport()->setAutoFillBackground(false);
    dialogArea->setAutoFillBackground(false);
}

MainWindow::~MainWindow()
{
    // Dialogs still entered are forgotten: their own slots end them, and
    // nothing may wait in an event loop while the window goes.
    dialogStack.clear();
    goQuietly();
    delete ui;
}

void MainWindow::goQuietly()
{
    // Once this body has run the object is no longer a MainWindow, yet the
    // base class still hides the window and deletes the pages. Hiding takes
    // the focus from the box that has it, which finishes its edit: its page
    // would store the value in the configuration model, and the model's
    // signals would call this window's slots (updateTileIcons) on what is
    // left of it. A page's destructor may touch the link or the model too.
    // So nothing of the window signals any more (an edit left unconfirmed
    // is not stored: the window and its values go), and the objects that
    // outlive the window reach neither it nor its pages.
    QList<QObject *> ours = findChildren<QObject *>();
    for (QObject *object : qAsConst(ours))
        object->blockSignals(true);
    ours << this;
    Device *device = Device::instance();
    const QObject *const lasting[] = {device,
                                      device->ethernetHandler(),
                                      device->confighandler(),
                                      device->udpServer(),
                                      &LoghandlerCont::instance(),
                                      &Databasecont::instance(),
                                      &RequestGate::instance(),
                                      ScalingHandlerCont::instance()};
    for (const QObject *sender : lasting) {
        for (QObject *receiver : qAsConst(ours))
            QObject::disconnect(sender, nullptr, receiver, nullptr);
    }
    QObject::disconnect(qApp, nullptr, this, nullptr);
}

void MainWindow::connectDevice()
{
    Device *device = Device::instance();
    EthernetHandler *handler = device->ethernetHandler();
    Confighandler *config = device->confighandler();

    connect(device->udpServer(), &UDPServer::errorIsFallen, this, &MainWindow::errorIsFallen);
    connect(handler, &EthernetHandler::connectionLost, this, &MainWindow::lostconnection);
    connect(handler, &EthernetHandler::connectionPing, this, &MainWindow::connectionsuccesfull);
    connect(handler, &EthernetHandler::connectionPing, config, &Confighandler::connectionsuccesfull);
    connect(handler, &EthernetHandler::targetNotAnswering, this, &MainWindow::targetNotAnswering);

    // The result is shown once the request that fetched it has ended: the
    // dialog waits in an event loop of its own. Before it shows, the unit is
    // asked for its MAC address: that request waits for a sequence running
    // then, as all work no user starts does.
    connect(handler, &EthernetHandler::RefRunResultreceived, this, [this](ReferenceRunResult_t &result) {
        const ReferenceRunResult_t copy = result;
        QTimer::singleShot(0, this, [this, copy] {
            RequestGate::instance().whenFree(this, [this, copy] {
                ReferenceRunResult_t shown = copy;
                RefRunResultreceived(shown);
            });
        });
    });
    connect(handler, &EthernetHandler::initProgressbar, this, &MainWindow::initProgressbar);
    connect(handler, &EthernetHandler::deinitProgressbar, this, &MainWindow::deinitProgressbar);
    connect(handler, &EthernetHandler::updateProgressbar, this, &MainWindow::updateProgressBar);
    connect(handler, &EthernetHandler::setMaxProgressbar, this, &MainWindow::setMaxProgressbar);
    LoghandlerCont &log = LoghandlerCont::instance();
    connect(&log, &LoghandlerCont::initProgressbar, this, &MainWindow::initProgressbar);
    connect(&log, &LoghandlerCont::deinitProgressbar, this, &MainWindow::deinitProgressbar);
    connect(&log, &LoghandlerCont::updateProgressbar, this, &MainWindow::updateProgressBar);
    connect(&log, &LoghandlerCont::setMaxProgressbar, this, &MainWindow::setMaxProgressbar);

    connect(ui->notifyBar, &NotificationBar::sendErrorReset, this, &MainWindow::errorResetRequested);

    ui->wdgGraphChnSel->setColorSource(ui->wdgGraph);
    connect(ui->stackScroll, &QStackedWidget::currentChanged, this, &MainWindow::setcurrentIndexes);

    // The question carries its answer back through a pointer, so it is only
    // ever connected directly: the asking code waits for the answer.
    connect(config, QOverload<QStringList, QString, QString, int, int32_t *>::of(
                        &Confighandler::printMessageboxwrapper),
            this,
            [this](QStringList names, QString title, QString message, int kind, int32_t *answer) {
                printMessageboxwrapper(names, title, message, QMessageBox::Icon(kind), answer);
            },
            Qt::DirectConnection);
    connect(config, QOverload<QStringList, QString, QString, int>::of(
                        &Confighandler::printMessageboxwrapper),
            this,
            [this](QStringList names, QString title, QString message, int kind) {
                printMessageboxwrapper(names, title, message, QMessageBox::Icon(kind), nullptr);
            });
    connect(config, &Confighandler::printNotifyBarErrorwrapper, this,
            &MainWindow::printNotifyBarErrorwrapper);
    connect(config, QOverload<QString, uint32_t>::of(&Confighandler::printNotifyBarSuccesswrapper),
            this, [this](QString message, uint32_t time) { printNotifyBarSuccesswrapper(message, time); });
    connect(config, QOverload<QString>::of(&Confighandler::printNotifyBarSuccesswrapper), this,
            [this](QString message) { printNotifyBarSuccesswrapper(message); });

    // Configuration files are chosen by the engineer in a file dialog.
    // The model outlives the window: a dialog asked for afterwards has no parent.
    config->setFileNameProvider([window = QPointer<MainWindow>(this)](bool forSaving, const QString &caption,
                                                                     const QString &filter) {
        return forSaving ? QFileDialog::getSaveFileName(window, caption, QString(), filter)
                         : QFileDialog::getOpenFileName(window, caption, QString(), filter);
    });

    connect(ui->pageScrollConfig, &ConfigTab::enterDialog, this, &MainWindow::enterDialog);
    connect(ui->pageScrollConfig, &ConfigTab::exitDialog, this, &MainWindow::exitDialog);
    connectBaseWidget(ui->pageScrollConfig);
    connectBaseWidget(ui->pageScrollLog);
    connectBaseWidget(ui->pageOverview);
    connectBaseWidget(ui->wdgChannelStatus);

    for (QPushButton *button : tabButtons)
        connect(button, &QPushButton::clicked, this, &MainWindow::tabButtonclicked);
    connect(this, &MainWindow::triggerUpdateProgressBar, this, &MainWindow::updateProgressBar);
    connect(ui->pageOverview, &TileTab::tilePressed, this, &MainWindow::HandletilePressedSlot);
    connect(ui->pageOverview, &TileTab::tilePressed, ui->pageScrollConfig,
            &ConfigTab::HandletilePressedSlot);
    connect(ui->pageScrollConfig, &ConfigTab::showFBTile, this, &MainWindow::showFBTileSlot);
    connect(ui->pageScrollConfig, &ConfigTab::hideFBTile, this, &MainWindow::hideFBTileSlot);
    connect(config, &Confighandler::ConfigDevicechanged, this, &MainWindow::updateTileIcons);
    connect(config, &Confighandler::ConfigBlobchanged, this, &MainWindow::updateTileIcons);
    connect(ui->notifyBar, &NotificationBar::goToLog, this, &MainWindow::NotificationBarGoToLog);
    watchFirmwareUpdates();
}

void MainWindow::connectBaseWidget(BaseWidget *page)
{
    if (!page)
        return;
    connect(page, &BaseWidget::printMessageboxwrapper, this, &MainWindow::printMessageboxwrapper);
    connect(page, &BaseWidget::printNotifyBarErrorwrapper, this,
            &MainWindow::printNotifyBarErrorwrapper);
    connect(page, &BaseWidget::printNotifyBarSuccesswrapper, this,
            &MainWindow::printNotifyBarSuccesswrapper);
    connect(page, &BaseWidget::withdrawNotifyBarwrapper, ui->notifyBar, &NotificationBar::withdraw);
}

// ---------------------------------------------------------------- navigation

void MainWindow::setcurrentIndexes(int index)
{
    if (index < 0 || index >= int(tabButtons.size()))
        return;
    if (lastIndex < 0)
        lastIndex = index;
    if (!tabButtons[size_t(index)]->isEnabled())
        return;
    if (index != lastIndex && ui->stackScroll->widget(index) == ui->pageScrollLog) {
        // The read waits on the unit; the window may close or go meanwhile.
        const WaitGuard guard(this);
        ui->pageScrollLog->on_btnGetLog_clicked();
        if (!goesOn(guard, this))
            return;
    }
    lastIndex = index;
    {
        const QSignalBlocker blocker(ui->stackScroll);
        ui->stackScroll->setCurrentIndex(index);
    }
    for (size_t n = 0; n < tabButtons.size(); ++n) {
        QPushButton *button = tabButtons[n];
        const QSignalBlocker blocker(button);
        button->setChecked(int(n) == index);
        polishWidget(button);
    }
    for (int n = 0; n < ui->stackScroll->count(); ++n)
        ui->stackScroll->widget(n)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    QWidget *shown = ui->stackScroll->currentWidget();
    shown->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    shown->adjustSize();
    ui->stackScroll->adjustSize();
}

void MainWindow::tabButtonclicked()
{
    for (size_t n = 0; n < tabButtons.size(); ++n) {
        if (tabButtons[n] == sender()) {
            setcurrentIndexes(int(n));
            return;
        }
    }
}

void MainWindow::tabSelect_currentChanged(int index)
{
    ui->stackScroll->setCurrentIndex(index);
}

void MainWindow::HandletilePressedSlot(int32_t id)
{
    switch (id) {
    case TileCommonSettings:
    case TileSensorParameter:
    case TileChannelParameter:
    case TileFieldbus:
    case TileNetworkSettings:
    case TileUpdateFirmware:
        setcurrentIndexes(PageConfig);
        break;
    case TileReferenceSetup:
        setcurrentIndexes(PageData);
        break;
    default:
        break;
    }
}

void MainWindow::NotificationBarGoToLog()
{
    setcurrentIndexes(PageLog);
}

// --------------------------------------------------------------------- tiles

ConfigurationTile *MainWindow::tile(int id) const
{
    return ui->pageOverview->getTile(id);
}

void MainWindow::createTiles()
{
    for (const TileText &t : kTiles)
        ui->pageOverview->createTile(t.id, tr(t.title), tr(t.description), 2);
    if (ConfigurationTile *fieldbus = tile(TileFieldbus))
        fieldbus->hide();
    ui->pageOverview->updateLayout();
}

void MainWindow::refreshTiles()
{
    for (const TileText &t : kTiles)
        ui->pageOverview->updateTile(t.id, tr(t.title), tr(t.description), 2);
}

void MainWindow::updateTileIcons()
{
    const Confighandler *config = Device::instance()->confighandler();
    struct Check
    {
        int id;
        bool passed;
        const char *warning;
    };
    const Check checks[] = {
        {TileReferenceSetup, config->allChannelsHaveReference(),
         QT_TR_NOOP("enabled channel with no reference values")},
        {TileSensorParameter, config->allChannelsSensorConfigured(),
         QT_TR_NOOP("enabled channel with default/custom sensor")},
        {TileChannelParameter, config->allChannelsMappingConfigured(),
         QT_TR_NOOP("enabled channel with default/custom configuration")},
    };
    for (const Check &check : checks) {
        if (ConfigurationTile *t = tile(check.id))
            t->setStatus(check.passed ? 1 : 0, check.passed ? QString() : tr(check.warning));
    }
}

void MainWindow::showFBTileSlot()
{
    if (ConfigurationTile *t = tile(TileFieldbus)) {
        t->show();
        ui->pageOverview->updateLayout();
    }
}

void MainWindow::hideFBTileSlot()
{
    if (ConfigurationTile *t = tile(TileFieldbus)) {
        t->hide();
        ui->pageOverview->updateLayout();
    }
}

// ------------------------------------------------------------ scale and style

void MainWindow::ScaleFactorchange(double factor)
{
    const QSize icon(scaled(24, factor), scaled(24, factor));
    ui->btngetData->setIconSize(icon);
    ui->btnExportDataToCsv->setIconSize(icon);
    ui->btnMore->setIconSize(icon);
    ui->btnRestartPPU->setIconSize(icon);
    // Fixed, or the layout would give them their size hint instead.
    const QSize button(scaled(100, factor), scaled(30, factor));
    ui->btnMore->setFixedSize(button);
    ui->btnRestartPPU->setFixedSize(button);
    ui->btnConnectToDevice->setFixedSize(button);
    ui->btnConnectToDevice->setIconSize(QSize(scaled(70, factor), scaled(24, factor)));
    // The logo follows the scale, and leaves the title its room at 0.5.
    ui->label_2->setMinimumWidth(scaled(180, factor));
    ui->label_2->setMaximumHeight(scaled(40, factor));
    ui->label_2->setMinimumHeight(scaled(40, factor));
    screenfit::fitWindow(this, QSize(scaled(baseWidth, factor), scaled(baseHeight, factor)));
    stylesheetContainer.applyStylesheet(this);
}

void MainWindow::polishWidget(QWidget *ptr)
{
    if (!ptr)
        return;
    style()->unpolish(ptr);
    style()->polish(ptr);
}


