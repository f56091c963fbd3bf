// The stops of the screenshot tour, in order. A page adds its stop here: a
// name for the picture, how to get there and how to leave again.
#include "tour.h"

#include "confighandler.h"
#include "custommessagebox.h"
#include "device.h"
#include "ethernethandler.h"
#include "mainwindow.h"
#include "notificationbar.h"
#include "statusbar.h"

#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>

namespace {

TourStop page(const char *name, int index)
{
    return {name, [index](Tour &tour) { tour.window->setcurrentIndexes(index); },
            [index](Tour &tour) {
                return tour.child<QStackedWidget>("stackScroll")->currentIndex() == index;
            },
            nullptr, nullptr, nullptr};
}

bool noBox(Tour &tour)
{
    return !tour.visible<CustomMessageBox>();
}

} // namespace

const std::vector<TourStop> &tourStops()
{
    static const std::vector<TourStop> stops = {
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
        {"setup-statusbar", nullptr, nullptr,
         [](Tour &tour) -> QWidget * { return tour.child<StatusBar>("wdgChannelStatus"); }, nullptr,
         nullptr},
        {"setup-notification",
         [](Tour &tour) {
             tour.window->printNotifyBarErrorwrapper(
                 tour.german() ? QStringLiteral("Lesen des Gerätenamens fehlgeschlagen. Fehler: "
                                                "Zeitüberschreitung Fehlercode: -1000")
                               : QStringLiteral("Read device name failed. Error: Timeout Errorcode: -1000"),
                 true, true);
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
    };
    return stops;
}
