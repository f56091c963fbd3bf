// The language and scale dialogs of the More menu, the reference-run
// result, and the window's reactions to language, locale, move, resize,
// show and close events.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "confighandler.h"
#include "device.h"
#include "ethernethandler.h"
#include "loghandlercont.h"
#include "notificationbar.h"
#include "programrun.h"
#include "refrundialog.h"
#include "requestgate.h"
#include "scalingdialog.h"
#include "screenfit.h"
#include "translation.h"
#include "translationdialog.h"
#include "updatefirmware.h"
#include "waitguard.h"

#include <QCloseEvent>
#include <QPointer>
#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>
#include <algorithm>

void MainWindow::on_actionLanguage_triggered()
{
    runMenuDialog(new TranslationDialog(this));
}

void MainWindow::on_actionScaling_triggered()
{
    const WaitGuard guard(this);
    const int result = runMenuDialog(new ScalingDialog(this));
    if (!goesOn(guard, this) || result != ProgramRun::kRestartCode)
        return;
    // The restart ends every event loop: a firmware update would lose its
    // loader in the middle of writing the unit.
    if (updateRunning()) {
        const QString warning = tr("A firmware update is running: KorvantisSetup does not restart now. "
                                   "The new scale applies at its next start.");
        updateWarnings << warning;
        printNotification(warning, false, QMessageBox::Warning);
        return;
    }
    qDebug() << "RESTARTING APPLICATION due to Scale Change";
    closing = true;
    Device::instance()->ethernetHandler()->disconnectFromDevice();
    QCoreApplication::exit(ProgramRun::kRestartCode);
}

void MainWindow::RefRunResultreceived(ReferenceRunResult_t &result)
{
    const WaitGuard guard(this);
    // The result belongs to the unit that answers now, and only that unit
    // takes its values: the dialog knows it by its MAC address, read before
    // the dialog shows (a result that names no channel shows nothing).
    QByteArray runUnit;
    if (result.channelMask() != 0) {
        const RequestHold hold;
        runUnit = RefRunDialog::answeringUnit(Device::instance()->ethernetHandler());
        if (!goesOn(guard, this))
            return;
    }
    // Made on the heap: a window deleted while the dialog waits deletes its
    // dialogs with it.
    QPointer<RefRunDialog> dialog = new RefRunDialog(this);
    dialog->setRunUnit(runUnit);
    connectBaseWidget(dialog);
    enterDialog(dialog);
    dialog->setRefRunResult(result);
    // The window may have gone while the dialog waited.
    if (!guard)
        return;
    exitDialog();
    delete dialog.data();
}

bool MainWindow::goesOn(const WaitGuard &guard, const MainWindow *window)
{
    return guard && !window->closing;
}

void MainWindow::watchFirmwareUpdates()
{
    for (UpdateFirmware *page : findChildren<UpdateFirmware *>()) {
        connect(page, &UpdateFirmware::updateEnded, this, [this] {
            // Withdrawn by their words as shown: the language may have
            // changed while the update ran.
            for (const QString &warning : qAsConst(updateWarnings))
                ui->notifyBar->withdraw(warning);
            updateWarnings.clear();
        });
    }
}

bool MainWindow::updateRunning() const
{
    const QList<UpdateFirmware *> pages = findChildren<UpdateFirmware *>();
    return std::any_of(pages.begin(), pages.end(), [](const UpdateFirmware *page) { return page->isUpdating(); });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing the window ends the program, and with it every event loop: a
    // running KorvantisLoader would be cut off while it writes the unit's
    // flash, leaving the unit in its bootloader with half an image. The
    // close is refused until the update has ended and reported its result.
    if (updateRunning()) {
        event->ignore();
        const QString warning = tr("A firmware update is running. KorvantisSetup can be closed when it has ended.");
        updateWarnings << warning;
        printNotification(warning, false, QMessageBox::Warning);
        return;
    }
    // Whatever still waits on the unit stops after its wait and sends
    // nothing more.
    closing = true;
    QMainWindow::closeEvent(event);
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event && event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        setLocale(QLocale());
        LoghandlerCont::instance().refreshFilters();
        refreshGraphTitles();
        refreshTiles();
        // Every page shows the model's values and the link state again in
        // the new language; nothing is sent to the unit for it.
        Device::instance()->confighandler()->emitConfigChanged();
        Device::instance()->ethernetHandler()->emitConnectionState();
    } else if (event && event->type() == QEvent::LocaleChange) {
        loadLanguage(locale());
    }
    QMainWindow::changeEvent(event);
}

bool MainWindow::event(QEvent *event)
{
    if (!dialogStack.empty()
        && (event->type() == QEvent::Move || event->type() == QEvent::Resize
            || event->type() == QEvent::WindowActivate)) {
        qDebug() << "resize ";
        // The dialog page lies exactly over the main page.
        ui->pageDialog->resize(ui->pageMain->size());
    }
    return QMainWindow::event(event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    if (QWindow *handle = windowHandle())
        connect(handle, &QWindow::screenChanged, this, &MainWindow::screenchangeSlot, Qt::UniqueConnection);
    QMainWindow::showEvent(event);
    // Now the window system's frame is known: it must fit on screen too.
    if (!screenfit::availableArea(this).contains(frameGeometry()))
        screenfit::fitWindow(this, size());
}
