// The stops of the screenshot tour, in order. A page adds its stop here: a
// name for the picture, how to get there and how to leave again.
#include "tour.h"

#include "bargraph.h"
#include "channelenablebar.h"
#include "confighandler.h"
#include "configtab.h"
#include "custommessagebox.h"
#include "device.h"
#include "dialogstops.h"
#include "ethernethandler.h"
#include "linegraph.h"
#include "logtab.h"
#include "mainwindow.h"
#include "navtreemodel.h"
#include "notificationbar.h"
#include "selectmapping.h"
#include "selectsensor.h"
#include "simpletable.h"
#include "statusbar.h"
#include "translation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeView>
#include <memory>

namespace {

TourStop page(const char *name, int index)
{
    return {name, [index](Tour &tour) { tour.window->setcurrentIndexes(index); },
            [index](Tour &tour) {
                return tour.child<QStackedWidget>("stackScroll")->currentIndex() == index;
            },
            nullptr, nullptr, nullptr};
}

// The configuration view with the page of an overview tile's id selected.
TourStop configPage(const char *name, int tileId)
{
    return {name,
            [tileId](Tour &tour) {
                tour.window->setcurrentIndexes(MainWindow::PageConfig);
                tour.child<ConfigTab>("pageScrollConfig")->HandletilePressedSlot(tileId);
            },
            [](Tour &tour) {
                return tour.child<QStackedWidget>("stackScroll")->currentIndex() == MainWindow::PageConfig;
            },
            nullptr, nullptr, nullptr};
}

// The configuration view with the tree row of a section selected, as the
// engineer picks it: the section's heading must be in view.
TourStop configRow(const char *name, const char *section)
{
    return {name,
            [section](Tour &tour) {
                tour.window->setcurrentIndexes(MainWindow::PageConfig);
                auto *view = tour.child<ConfigTab>("pageScrollConfig");
                view->TreeselectWdg(view->navModel()->rootItem(), tour.child<QWidget>(section));
            },
            [section](Tour &tour) {
                return tour.child<QStackedWidget>("stackScroll")->currentIndex() == MainWindow::PageConfig
                       && tour.child<ConfigTab>("pageScrollConfig")->selectedPage() == tour.child<QWidget>(section);
            },
            nullptr, nullptr, nullptr};
}

bool noBox(Tour &tour)
{
    return !tour.visible<CustomMessageBox>();
}

// Picks the entry with this text, as the engineer would.
void pick(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text, Qt::MatchExactly);
    if (index >= 0)
        combo->setCurrentIndex(index);
}

// A catalogue selection page in the configuration view, taken on its own
// once a choice is made for the channel the view shows.
template <typename Page>
TourStop selectionPage(const char *name, const char *objectName, int tileId, std::function<void(Page *)> choose)
{
    return {name,
            [objectName, tileId, choose](Tour &tour) {
                tour.window->setcurrentIndexes(MainWindow::PageConfig);
                tour.child<ConfigTab>("pageScrollConfig")->HandletilePressedSlot(tileId);
                choose(tour.child<Page>(objectName));
            },
            [objectName](Tour &tour) {
                return tour.child<QStackedWidget>("stackScroll")->currentIndex() == MainWindow::PageConfig
                       && tour.child<Page>(objectName)->isVisible();
            },
            [objectName](Tour &tour) -> QWidget * { return tour.child<Page>(objectName); }, nullptr, nullptr};
}

// The data page after a short timed run (the unit then reports its data as
// ready), showing `step` of the channels of `channels` (bit n = channel n)
// once the graph is drawn.
TourStop dataPage(const char *name, MeasurementTable::Step step, uint8_t channels = 0x7F)
{
    return {name,
            [](Tour &tour) {
                tour.window->setcurrentIndexes(MainWindow::PageData);
                // What an earlier stop read does not count for this one.
                tour.child<QStackedWidget>("wdgStack")->setCurrentWidget(tour.child<QWidget>("wdgEmptyPage"));
                tour.child<QSpinBox>("spnTimeInterval")->setValue(300);
                tour.child<QPushButton>("btnmanRunstart")->click();
            },
            [step, channels](Tour &tour) {
                QWidget *data = tour.child<QWidget>("grpbData");
                QStackedWidget *stack = tour.child<QStackedWidget>("wdgStack");
                auto *graph = tour.child<LineGraph>("wdgGraph");
                QWidget *shown = MeasurementTable::showsBars(step) ? tour.child<QWidget>("wdgBarGraph")
                                                                   : static_cast<QWidget *>(graph);
                // At 1024 x 768 the graph lies below the page's fold; it is
                // drawn once it is scrolled into view, as the engineer would.
                if (auto *area = tour.child<QWidget>("pageScrollData")->findChild<QScrollArea *>())
                    area->ensureWidgetVisible(stack, 0, 0);
                // The page starts with the empty line graph: it counts only
                // once it holds the curves read.
                if (stack->currentWidget() == shown && (shown != graph || !graph->plotData().series.isEmpty()))
                    return shown != graph || (graph->isUpToDate() && !graph->isRendering()
                                              && graph->renderCount() > 0);
                // The read waits in nested loops: it is started from the
                // event loop once the run has ended and the data is ready.
                if (data->isEnabled() && !Device::instance()->ethernetHandler()->isWaiting())
                    QTimer::singleShot(0, tour.window,
                                       [&tour, step, channels] { tour.window->runDataStep(step, channels); });
                return false;
            },
            // The page scrolls; the picture is of the graph or the bars.
            [](Tour &tour) -> QWidget * { return tour.child<QWidget>("wdgStack"); }, nullptr, nullptr};
}

// A bar graph of its own (no page shows one): one series over three
// categories, with the limit beside its second bar.
TourStop barGraph()
{
    struct Shown
    {
        SimpleTable first;
        std::unique_ptr<BarGraph> graph;
    };
    static Shown shown;
    return {"graph-bars",
            [](Tour &tour) {
                shown.first.setRows({{0, 1, 2}, {420, 610, 380}});
                shown.graph = std::make_unique<BarGraph>(
                    nullptr, tour.german() ? QStringLiteral("SKW je Lagerstelle") : QStringLiteral("SKW per bearing"));
                shown.graph->addModel(&shown.first, 550, 1, tour.german() ? QStringLiteral("Aktuell")
                                                                           : QStringLiteral("Current"), 0);
                shown.graph->setLabels({QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("B1")});
                shown.graph->setYAxisTitle(QStringLiteral("SKW"));
                shown.graph->resize(800, 560);
                shown.graph->show();
            },
            [](Tour &) {
                return shown.graph->renderCount() > 0 && shown.graph->isUpToDate() && !shown.graph->isRendering();
            },
            [](Tour &) -> QWidget * { return shown.graph.get(); },
            [](Tour &) { shown.graph.reset(); }, nullptr};
}

} // namespace

const std::vector<TourStop> &tourStops()
{
    static const std::vector<TourStop> stops = {
        connectDialogStop(),
        // The first heartbeat of a unit asks whether to read its configuration;
        // "Yes" reads it.
        {"setup-question",
         [](Tour &tour) {
             Device *device = Device::instance();
             device->confighandler()->setIpAddress(tour.unit);
             device->ethernetHandler()->setTargetIP(tour.unit);
         },
         [](Tour &tour) { return tour.visible<CustomMessageBox>() != nullptr; }, nullptr,
         [](Tour &tour) {
             if (CustomMessageBox *box = tour.visible<CustomMessageBox>())
                 box->questionButtons().at(1)->click();
         },
         [](Tour &tour) {
             return noBox(tour) && !Device::instance()->ethernetHandler()->isWaiting();
         }},
        page("setup-overview", MainWindow::PageOverview),
        // The data page as it opens: its run controls and channel boxes.
        page("setup-data", MainWindow::PageData),
        configPage("setup-config-common", 0),
        configPage("setup-config-channel", 2),
        configRow("setup-config-general", "gpbChannelName"),
        configRow("setup-config-sensor", "wdgSensor"),
        configRow("setup-config-output", "wdgConfigOutputTab"),
        configRow("setup-config-product", "wdgProdInfo"),
        configRow("setup-config-reset-network", "wdgResetJMP"),
        configPage("setup-config-update", 6),
        configPage("setup-config-network", 5),
        {"setup-config-reset",
         [](Tour &tour) {
             tour.window->setcurrentIndexes(MainWindow::PageConfig);
             auto *view = tour.child<ConfigTab>("pageScrollConfig");
             view->TreeselectWdg(view->navModel()->rootItem(), tour.child<QWidget>("wdgResetDefConf"));
         },
         [](Tour &tour) {
             return tour.child<ConfigTab>("pageScrollConfig")->selectedPage()
                    == tour.child<QWidget>("wdgResetDefConf");
         },
         nullptr, nullptr, nullptr},
        {"setup-statusbar", nullptr, nullptr,
         [](Tour &tour) -> QWidget * { return tour.child<StatusBar>("wdgChannelStatus"); }, nullptr,
         nullptr},
        // Every word a channel can show, side by side, while the unit's own
        // reports are held back; leaving the stop shows them again.
        {"setup-statusbar-states",
         [](Tour &tour) {
             EthernetHandler *link = Device::instance()->ethernetHandler();
             link->pauseLinkWatch();
             HearBeatMessage_t states = link->lastHeartbeat();
             states.channelEnabled = 0x5E; // channels 1 and 6 disabled
             states.openCircuit = 0x42;    // channels 2 and 7 open
             states.shortCircuit = 0x14;   // channels 3 and 5 short
             tour.child<StatusBar>("wdgChannelStatus")->connectionsuccesfull(states, link->lastHeartbeatSender());
         },
         nullptr, [](Tour &tour) -> QWidget * { return tour.child<StatusBar>("wdgChannelStatus"); },
         [](Tour &) { Device::instance()->ethernetHandler()->resumeLinkWatch(); }, nullptr},
        {"setup-notification",
         [](Tour &tour) {
             tour.window->printNotifyBarErrorwrapper(
                 tour.german() ? QStringLiteral("Lesen des Gerätenamens fehlgeschlagen. Fehler: "
                                                "Zeitüberschreitung Fehlercode: -1000")
                               : QStringLiteral("Read device name failed. Error: Timeout Errorcode: -1000"),
                 false, true);
         },
         nullptr, nullptr,
         [](Tour &tour) { tour.child<NotificationBar>("notifyBar")->on_btnConfirm_clicked(); },
         nullptr},
        {"setup-progress",
         [](Tour &tour) {
             tour.window->initProgressbar(tour.german() ? QStringLiteral("Log wird gelesen")
                                                        : QStringLiteral("Reading the device log"),
                                          200);
             tour.window->updateProgressBar(90);
         },
         [](Tour &tour) { return tour.window->progress()->isVisible(); }, nullptr,
         [](Tour &tour) { tour.window->deinitProgressbar(); }, nullptr},
        selectionPage<SelectSensor>("setup-sensor-selection", "wdgSensor", 1, [](SelectSensor *page) {
            pick(page->sensorComboBox(), QStringLiteral("KVS-100 IEPE 100 mV/g"));
        }),
        selectionPage<SelectMapping>("setup-mapping-selection", "wdgMapping", 2, [](SelectMapping *page) {
            const QStringList path{QStringLiteral("Ball Screw"), QStringLiteral("40"),
                                   QStringLiteral("Single Nut")};
            for (int s = 0; s < path.size(); ++s)
                pick(page->selectionStages().at(s).combo, path.at(s));
        }),
        // "Apply" on the fieldbus page before its record was read: refused,
        // and the bar says what to do.
        {"setup-fieldbus-apply-unread",
         [](Tour &tour) {
             tour.window->setcurrentIndexes(MainWindow::PageConfig);
             tour.child<ConfigTab>("pageScrollConfig")->HandletilePressedSlot(4);
             MainWindow *window = tour.window;
             QTimer::singleShot(0, window, [window] {
                 window->findChild<QPushButton *>(QStringLiteral("btnResetAnybusMod"))->click();
             });
         },
         [](Tour &tour) {
             auto *page = tour.child<QWidget>("wdgFBConfig");
             return page && page->isVisible() && tour.child<NotificationBar>("notifyBar")->entryCount() > 0;
         },
         nullptr, [](Tour &tour) { tour.child<NotificationBar>("notifyBar")->on_btnConfirm_clicked(); }, nullptr},
        // The fieldbus page of the unit's Modbus-TCP module, as read from the
        // unit with the page's own button.
        {"setup-config-fieldbus",
         [](Tour &tour) {
             tour.window->setcurrentIndexes(MainWindow::PageConfig);
             tour.child<ConfigTab>("pageScrollConfig")->HandletilePressedSlot(4);
             MainWindow *window = tour.window;
             QTimer::singleShot(0, window, [window] {
                 window->findChild<QPushButton *>(QStringLiteral("btnReadFieldCfg"))->click();
             });
         },
         [](Tour &tour) {
             auto *page = tour.child<QWidget>("wdgFBConfig");
             return page && page->isVisible() && !tour.child<QLineEdit>("leditHostname")->text().isEmpty()
                    && !Device::instance()->ethernetHandler()->isWaiting();
         },
         nullptr, nullptr, nullptr},
        // A mistyped gateway octet: refused with a word, the field keeps the
        // address it had.
        {"setup-fieldbus-address-refused",
         [](Tour &tour) {
             auto *gateway = tour.child<QLineEdit>("leditDefGateway");
             gateway->setText(QStringLiteral("999.001.001.001"));
             emit gateway->editingFinished();
         },
         [](Tour &tour) { return tour.child<NotificationBar>("notifyBar")->entryCount() > 0; }, nullptr,
         [](Tour &tour) { tour.child<NotificationBar>("notifyBar")->on_btnConfirm_clicked(); }, nullptr},
        // The foot of the fieldbus page, scrolled to as the engineer does:
        // the action bar's four buttons with their captions whole.
        {"setup-fieldbus-actionbar",
         [](Tour &tour) {
             QWidget *actions = tour.child<QWidget>("wdgFBActionBar");
             for (QWidget *p = actions->parentWidget(); p; p = p->parentWidget())
                 if (auto *area = qobject_cast<QScrollArea *>(p))
                     area->ensureWidgetVisible(actions, 0, 0);
         },
         [](Tour &tour) { return !tour.child<QWidget>("wdgFBActionBar")->visibleRegion().isEmpty(); }, nullptr,
         nullptr, nullptr},
        // A record made for another module (a PROFINET one on this unit's
        // Modbus-TCP module): the page keeps the module's layout, says so
        // under its title, and Apply writes nothing and says why. Leaving it
        // reads the unit's own again.
        {"setup-fieldbus-other-module",
         [](Tour &tour) {
             Anybus_cfg record = Device::instance()->confighandler()->getAnybusCFG();
             record.setNetworkType(0x84);
             Device::instance()->confighandler()->setAnybusCFG(record);
             QWidget *note = tour.child<QWidget>("lblRecordNote");
             for (QWidget *p = note->parentWidget(); p; p = p->parentWidget())
                 if (auto *area = qobject_cast<QScrollArea *>(p))
                     area->ensureWidgetVisible(note, 0, 0);
             MainWindow *window = tour.window;
             QTimer::singleShot(0, window, [window] {
                 window->findChild<QPushButton *>(QStringLiteral("btnResetAnybusMod"))->click();
             });
         },
         [](Tour &tour) { return tour.child<NotificationBar>("notifyBar")->entryCount() > 0; }, nullptr,
         [](Tour &tour) {
             tour.child<NotificationBar>("notifyBar")->on_btnConfirm_clicked();
             MainWindow *window = tour.window;
             QTimer::singleShot(0, window, [window] {
                 window->findChild<QPushButton *>(QStringLiteral("btnReadFieldCfg"))->click();
             });
         },
         [](Tour &) {
             return !Device::instance()->ethernetHandler()->isWaiting()
                    && Device::instance()->confighandler()->anybusCFGWritable();
         }},
        // "No" on the reference conflict of a configuration write: the
        // notification lists what was written and not saved, whole.
        {"setup-write-conflict",
         [](Tour &tour) {
             Confighandler *config = Device::instance()->confighandler();
             CFG_Device_Param_struct block = config->getDeviceConfig();
             block.setReferenceSkw(2, 300);
             config->setDeviceConfig(block);
             while (tour.child<NotificationBar>("notifyBar")->entryCount() > 0)
                 tour.child<NotificationBar>("notifyBar")->on_btnConfirm_clicked();
             MainWindow *window = tour.window;
             QTimer::singleShot(0, window, [window] {
                 window->findChild<QPushButton *>(QStringLiteral("btnWriteConfig"))->click();
             });
         },
         [](Tour &tour) {
             if (CustomMessageBox *box = tour.visible<CustomMessageBox>())
                 box->questionButtons().at(0)->click();
             return noBox(tour) && !Device::instance()->ethernetHandler()->isWaiting()
                    && tour.child<NotificationBar>("notifyBar")->entryCount() > 0;
         },
         nullptr,
         [](Tour &tour) {
             while (tour.child<NotificationBar>("notifyBar")->entryCount() > 0)
                 tour.child<NotificationBar>("notifyBar")->on_btnConfirm_clicked();
             Confighandler *config = Device::instance()->confighandler();
             CFG_Device_Param_struct block = config->getDeviceConfig();
             block.setReferenceSkw(2, -1);
             config->setDeviceConfig(block);
         },
         nullptr},
        // Opening the log page reads the unit's log; the tree shows it with
        // its first entries opened.
        {"setup-log",
         [](Tour &tour) {
             QTimer::singleShot(0, tour.window, [&tour] { tour.window->setcurrentIndexes(MainWindow::PageLog); });
         },
         [](Tour &tour) {
             auto *page = tour.child<LogTab>("pageScrollLog");
             auto *tree = tour.child<QTreeView>("treeViewLog2");
             if (!page || page->isBusy() || !tree->model() || tree->model()->rowCount() < 2)
                 return false;
             tree->expand(tree->model()->index(0, 0));
             tree->expand(tree->model()->index(2, 0));
             return true;
         },
         nullptr, nullptr, nullptr},
        {"setup-log-history",
         [](Tour &tour) {
             tour.child<QPushButton>("btnSKWHist")->click();
             // Four channels chosen in the bar.
             auto *bar = tour.child<ChannelEnableBar>("wdgChnSelBar");
             for (int n : {0, 1, 3, 5})
                 bar->checkBox(n)->setChecked(true);
         },
         [](Tour &tour) {
             auto *graph = tour.child<LineGraph>("wdgLogHistory");
             auto *scroll = tour.child<LogTab>("pageScrollLog")->findChild<QScrollArea *>(QStringLiteral("scrollArea"));
             // The graph draws when it is painted: in a low window (a large
             // scale on a small screen) it lies below the view until the user
             // scrolls to it, and is not drawn before.
             if (graph->isVisible() && (graph->renderCount() == 0 || !graph->isUpToDate())
                 && graph->visibleRegion().isEmpty()) {
                 for (QWidget *p = graph->parentWidget(); p; p = p->parentWidget()) {
                     if (auto *area = qobject_cast<QScrollArea *>(p)) {
                         // Down to it only: the user does not scroll sideways.
                         const int x = area->horizontalScrollBar()->value();
                         area->ensureWidgetVisible(graph, 0, 0);
                         area->horizontalScrollBar()->setValue(x);
                     }
                 }
             }
             // Drawn, and the layout has made room for the whole picture.
             if (!graph->isVisible() || graph->renderCount() == 0 || !graph->isUpToDate() || graph->isRendering()
                 || graph->graphLabel()->height() < graph->backBuffer().height())
                 return false;
             // Scrolled to the graph as the user does on a low window: the
             // plot, both axes and the time labels whole in the window.
             scroll->ensureWidgetVisible(graph->graphLabel(), 0, 0);
             return true;
         },
         // The window as the user sees it.
         nullptr,
         [](Tour &tour) { tour.child<QPushButton>("btnLogList")->click(); }, nullptr},
        aboutStop(),
        licenseStop(),
        scalingStop(),
        languageStop(),
        helpStop(),
        dataPage("setup-data-raw", MeasurementTable::RawInput),
        dataPage("setup-data-skw", MeasurementTable::Skw),
        // One channel ticked: its bar alone keeps caption, scale, bar and
        // number together.
        dataPage("setup-data-skw-one", MeasurementTable::Skw, 0x01),
        refRunStop(),
        barGraph(),
        // The channel page again after the language was switched away and
        // back three times: it must look as setup-config-channel does.
        {"setup-config-channel-relanguaged",
         [](Tour &tour) {
             const QString other = tour.german() ? QStringLiteral("en") : QStringLiteral("de");
             for (int round = 0; round < 3; ++round) {
                 switchTranslator(other);
                 switchTranslator(tour.language);
             }
             tour.window->setcurrentIndexes(MainWindow::PageConfig);
             tour.child<ConfigTab>("pageScrollConfig")->HandletilePressedSlot(2);
         },
         [](Tour &tour) {
             if (tour.child<QStackedWidget>("stackScroll")->currentIndex() == MainWindow::PageConfig)
                 return true;
             // The data page's last read may still hold the tabs: asked again
             // once they are free.
             tour.window->setcurrentIndexes(MainWindow::PageConfig);
             tour.child<ConfigTab>("pageScrollConfig")->HandletilePressedSlot(2);
             return false;
         },
         nullptr, nullptr, nullptr},
        // Last: it leaves the tool disconnected.
        connectedDialogStop(),
    };
    return stops;
}
