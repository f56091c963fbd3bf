#include "dialogstops.h"

#include "aboutdialog.h"
#include "connectdialog.h"
#include "device.h"
#include "ethernethandler.h"
#include "helpbrowser.h"
#include "helpdialog.h"
#include "licensedialog.h"
#include "notificationbar.h"
#include "refrundialog.h"
#include "scalingdialog.h"
#include "translationdialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QNetworkAddressEntry>
#include <QTableWidget>
#include <QTimer>

namespace {

// The interface to discover from: an address of the unit's network that is
// not the unit's own.
int toolInterface(QComboBox *box, const QHostAddress &unit)
{
    for (int i = 0; i < box->count(); ++i) {
        const QHostAddress ip = box->itemData(i).value<QNetworkAddressEntry>().ip();
        if (ip != unit && ip.isInSubnet(unit, 24))
            return i;
    }
    return box->currentIndex();
}

// A menu dialog: opened by its slot, pictured once `shown` holds, closed by
// its button.
TourStop menuDialogStop(const char *name, void (MainWindow::*open)(), std::function<bool(QWidget *)> shown,
                        const char *closeButton)
{
    return {name,
            [open](Tour &tour) { QTimer::singleShot(0, tour.window, open); },
            [shown](Tour &tour) {
                return !tour.window->dialogs().empty() && tour.window->dialogs().back()->isVisible()
                       && shown(tour.window->dialogs().back());
            },
            nullptr,
            [closeButton](Tour &tour) {
                if (!tour.window->dialogs().empty())
                    tour.window->dialogs().back()->findChild<QAbstractButton *>(QString::fromLatin1(closeButton))->click();
            },
            [](Tour &tour) { return tour.window->dialogs().empty(); }};
}

} // namespace

TourStop connectDialogStop()
{
    return {"setup-connect",
            [](Tour &tour) {
                QTimer::singleShot(0, tour.child<QAbstractButton>("btnConnectToDevice"), &QAbstractButton::click);
            },
            [](Tour &tour) {
                auto *dialog = tour.visible<Connectdialog>();
                if (!dialog)
                    return false;
                auto *box = dialog->findChild<QComboBox *>(QStringLiteral("cmbNetworkInterface"));
                auto *discover = dialog->findChild<QAbstractButton *>(QStringLiteral("btnDiscoverIPs"));
                if (!discover->isEnabled())
                    return false;  // a discovery is running
                const int wanted = toolInterface(box, tour.unit);
                if (box->currentIndex() != wanted) {
                    QTimer::singleShot(0, box, [box, wanted] { box->setCurrentIndex(wanted); });
                    return false;
                }
                return !dialog->deviceList().empty();
            },
            nullptr,
            [](Tour &tour) {
                auto *dialog = tour.visible<Connectdialog>();
                if (!dialog)
                    return;
                auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("tblFoundDevices"));
                for (int r = 0; r < table->rowCount(); ++r)
                    if (table->item(r, 1)->text() == tour.unit.toString())
                        table->setCurrentCell(r, 0);
                if (dialog->selectedRow() < 0)
                    dialog->findChild<QLineEdit *>(QStringLiteral("leditManIP"))->setText(tour.unit.toString());
                dialog->findChild<QAbstractButton *>(QStringLiteral("btnConnect"))->click();
            },
            // The unit's first heartbeat may already ask a question in the
            // dialog page; the next stop answers it.
            [](Tour &tour) { return !tour.visible<Connectdialog>(); }};
}

TourStop connectedDialogStop()
{
    // Whether the wrong address has been typed yet.
    static bool typed = false;
    return {"setup-connect-connected",
            [](Tour &tour) {
                typed = false;
                QTimer::singleShot(0, tour.child<QAbstractButton>("btnConnectToDevice"), &QAbstractButton::click);
            },
            [](Tour &tour) {
                auto *dialog = tour.visible<Connectdialog>();
                if (!dialog)
                    return false;
                auto *discover = dialog->findChild<QAbstractButton *>(QStringLiteral("btnDiscoverIPs"));
                if (!discover->isEnabled() || dialog->deviceList().empty())
                    return false;  // the dialog's own discovery is still running
                auto *bar = tour.child<QWidget>("notifyBar");
                if (!typed) {
                    // A typing error: the field empties (its placeholder shows)
                    // and the message stands on the bar over the dialog page.
                    typed = true;
                    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("leditManIP"));
                    edit->setText(QStringLiteral("300.1.1.1"));
                    emit edit->editingFinished();
                    return false;
                }
                return bar->isVisible();
            },
            nullptr,
            [](Tour &tour) {
                if (auto *bar = tour.child<NotificationBar>("notifyBar"))
                    bar->on_btnConfirm_clicked();
                if (auto *dialog = tour.visible<Connectdialog>())
                    dialog->findChild<QAbstractButton *>(QStringLiteral("btnClose"))->click();
            },
            [](Tour &tour) { return tour.window->dialogs().empty(); }};
}

TourStop aboutStop()
{
    // Shown once the unit's part is there (the title reads the same in
    // every language).
    return menuDialogStop("setup-about", &MainWindow::on_actionAbout_triggered,
                          [](QWidget *w) {
                              auto *about = qobject_cast<AboutDialog *>(w);
                              return about && about->text().contains(QStringLiteral("Korvan Tis"));
                          },
                          "btnClose");
}

TourStop licenseStop()
{
    return menuDialogStop("setup-license", &MainWindow::on_actionLicense_triggered,
                          [](QWidget *w) {
                              auto *license = qobject_cast<LicenseDialog *>(w);
                              return license && !license->text().isEmpty();
                          },
                          "btnClose");
}

TourStop scalingStop()
{
    // Left with "Exit": nothing is stored, the tour goes on.
    return menuDialogStop("setup-scaling", &MainWindow::on_actionScaling_triggered,
                          [](QWidget *w) { return qobject_cast<ScalingDialog *>(w) != nullptr; }, "btnExit");
}

TourStop languageStop()
{
    return menuDialogStop("setup-language", &MainWindow::on_actionLanguage_triggered,
                          [](QWidget *w) { return qobject_cast<TranslationDialog *>(w) != nullptr; }, "btnSelect");
}

TourStop helpStop()
{
    return menuDialogStop("setup-help", &MainWindow::on_actionHelp_triggered,
                          [](QWidget *w) {
                              auto *help = qobject_cast<HelpDialog *>(w);
                              return help && !help->browser()->toPlainText().isEmpty();
                          },
                          "pushButton");
}

TourStop refRunStop()
{
    // A reference run of three channels in scale mode, shown in front of the
    // data page as the unit's result would be.
    static ReferenceRunResult_t result;
    return {"setup-refrun",
            [](Tour &tour) {
                result = ReferenceRunResult_t();
                result.flags = 0x80 | 0x0B;
                for (int ch : {0, 1, 3}) {
                    result.previousReference[size_t(ch)] = int16_t(8000 + 250 * ch);
                    result.newReference[size_t(ch)] = int16_t(9200 + 300 * ch);
                    result.previousSkw[size_t(ch)] = int16_t(410 + 15 * ch);
                    result.newSkw[size_t(ch)] = int16_t(455 + 20 * ch);
                    result.previousFactor[size_t(ch)] = 25;
                    result.newFactor[size_t(ch)] = uint8_t(27 + ch);
                }
                tour.window->setcurrentIndexes(MainWindow::PageData);
                MainWindow *window = tour.window;
                QTimer::singleShot(0, window, [window] { window->RefRunResultreceived(result); });
            },
            [](Tour &tour) {
                auto *dialog = tour.visible<RefRunDialog>();
                return dialog && !tour.window->dialogs().empty() && tour.window->dialogs().back() == dialog;
            },
            nullptr,
            // Every value applied as offered, then the dialog is left (which
            // writes them to the unit and saves).
            [](Tour &tour) {
                auto *dialog = tour.visible<RefRunDialog>();
                if (!dialog)
                    return;
                auto *tabs = dialog->findChild<QTabWidget *>(QStringLiteral("tabChnsel"));
                for (int i = 0; i < tabs->count(); ++i) {
                    tabs->setCurrentIndex(i);
                    dialog->findChild<QPushButton *>(QStringLiteral("btnApply"))->click();
                }
                auto *exit = dialog->findChild<QPushButton *>(QStringLiteral("btnExit"));
                QTimer::singleShot(0, exit, &QPushButton::click);
            },
            [](Tour &tour) {
                return tour.window->dialogs().empty() && !Device::instance()->ethernetHandler()->isWaiting();
            }};
}
