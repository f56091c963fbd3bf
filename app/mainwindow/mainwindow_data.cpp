// The data page: timed runs, the reference-run mode, reading raw input or
// the SKW of the selected channels, and the CSV export of what is shown.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "channelenablebar.h"
#include "confighandler.h"
#include "dataacquisition.h"
#include "device.h"
#include "ethernethandler.h"
#include "linegraph.h"
#include "measurementcsv.h"
#include "requestgate.h"
#include "valuebar.h"
#include "waitguard.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileDialog>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>

void MainWindow::setupDataPage()
{
    Device *device = Device::instance();
    acquisition = new DataAcquisition(device->ethernetHandler(), device->confighandler(), this);
    std::array<ValueBar *, 7> bars{};
    for (size_t n = 0; n < bars.size() && n < valueBars.size(); ++n)
        bars[n] = valueBars[n];
    acquisition->setViews(ui->wdgGraph, bars);
    connect(acquisition, &DataAcquisition::failed, this,
            [this](const QString &message) { printNotification(message, false, QMessageBox::Critical); });
    connect(acquisition, &DataAcquisition::channelDone, this, &MainWindow::triggerUpdateProgressBar);
    // Every request waits for its answer in a nested event loop, and a
    // sequence of them holds the request gate from its first request to its
    // last answer: meanwhile the window is locked as behind a dialog.
    requestLock = new QWidget(this);
    requestLock->setObjectName(QStringLiteral("wdgRequestLock"));
    requestLock->setCursor(Qt::BusyCursor);
    requestLock->hide();
    connect(&RequestGate::instance(), &RequestGate::heldChanged, this, &MainWindow::lockForRequest);
    csvNameProvider = [this](const QString &caption, const QString &filter) {
        return QFileDialog::getSaveFileName(this, caption, QString(), filter);
    };
    // Nothing read yet: the empty line graph.
    ui->wdgStack->setCurrentWidget(ui->wdgGraph);
    resetDataView();
}

void MainWindow::lockForRequest(bool held)
{
    const auto at = std::find(dialogStack.begin(), dialogStack.end(), requestLock);
    if (held) {
        if (at != dialogStack.end() || lockedDialog)
            return;
        if (!dialogStack.empty() && dialogStack.back() == progressBar) {
            // The window's own progress page (raw input, a log read) covers
            // the main page already and shows how far the wait is: the lock
            // page goes beneath it and shows when it ends before the
            // sequence does.
            requestLock->hide();
            dialogStack.insert(dialogStack.end() - 1, requestLock);
        } else if (!dialogStack.empty()) {
            // A dialog asks the unit (About, the reference-run result): it
            // stays in sight with what it shows, out of reach until the
            // answer is in.
            lockedDialog = dialogStack.back();
            lockedDialog->setEnabled(false);
            lockedDialog->setCursor(Qt::BusyCursor);
        } else {
            enterDialog(requestLock);
        }
        return;
    }
    if (lockedDialog) {
        lockedDialog->unsetCursor();
        lockedDialog->setEnabled(true);
        lockedDialog = nullptr;
        return;
    }
    if (at == dialogStack.end())
        return;
    if (at + 1 != dialogStack.end()) {
        dialogStack.erase(at);  // beneath a dialog entered later: not shown
        return;
    }
    // The last page going waits for the unit's save feedback (exitDialog).
    // Not here: the gate is let go at the end of a request, which may be the
    // very step of the save that the feedback waits for. The lock stays a
    // moment longer and goes from the event loop.
    if (dialogStack.size() == 1 && Device::instance()->confighandler()->waitingForFeedback()) {
        QTimer::singleShot(0, this, [this] {
            if (!RequestGate::instance().locksWindow() && !dialogStack.empty() && dialogStack.back() == requestLock)
                exitDialog();
        });
        return;
    }
    exitDialog();
}
void MainWindow::resetDataView()
{
    if (acquisition)
        acquisition->resetDataView();
}

void MainWindow::refreshGraphTitles()
{
    acquisition->refreshGraphTitles();
}

void MainWindow::on_btngetData_clicked()
{
    initProgressbar(tr("Receiving Raw Input Data..."), 7);
    const WaitGuard guard(this);
    runDataStep(MeasurementTable::RawInput);
    if (!guard)
        return;
    deinitProgressbar();
}

void MainWindow::on_btnreadSKWData_clicked()
{
    runDataStep(MeasurementTable::Skw);
}

void MainWindow::runDataStep(MeasurementTable::Step step)
{
    runDataStep(step, ui->wdgGraphChnSel->getChannelMask());
}

void MainWindow::runDataStep(MeasurementTable::Step step, uint8_t mask)
{
    // The reads wait in nested event loops; the read buttons stay off
    // meanwhile so that a second acquisition cannot start inside the first.
    if (acquiring)
        return;
    acquiring = true;
    resetDataView();
    ui->wdgReadData->setEnabled(false);
    const WaitGuard guard(this);
    acquisition->getData(step, mask);
    if (!goesOn(guard, this))
        return;
    ui->wdgReadData->setEnabled(true);
    acquiring = false;

    SimpleTable &table = acquisition->tableFor(step);
    if (mask != 0 && table.rowCount() > 0 && acquisition->currentDataStep() == step) {
        ui->wdgStack->setCurrentWidget(MeasurementTable::showsBars(step) ? ui->wdgBarGraph
                                                                          : static_cast<QWidget *>(ui->wdgGraph));
    } else {
        qDebug() << "hide" << mask;
        ui->wdgStack->setCurrentWidget(ui->wdgEmptyPage);
    }
}

void MainWindow::on_btnmanRunstart_clicked()
{
    // The heartbeat handling enables the data group again.
    ui->grpbData->setEnabled(false);
    acquisition->startTimedRun(ui->spnTimeInterval->value());
}

void MainWindow::stopDataRun()
{
    acquisition->stopDataRun();
}

void MainWindow::on_chkRefRun_stateChanged(int)
{
    acquisition->setRefRunMode(ui->chkRefRun->isChecked());
}

void MainWindow::on_wdgStack_currentChanged(int arg1)
{
    // The stack takes the size of the page it shows.
    const bool bars = arg1 == ui->wdgStack->indexOf(ui->wdgBarGraph);
    ui->wdgGraph->setSizePolicy(bars ? QSizePolicy::Ignored : QSizePolicy::Preferred,
                                bars ? QSizePolicy::Ignored : QSizePolicy::Minimum);
    ui->wdgBarGraph->setSizePolicy(bars ? QSizePolicy::Preferred : QSizePolicy::Ignored,
                                   bars ? QSizePolicy::Minimum : QSizePolicy::Ignored);
}

void MainWindow::on_btnExportDataToCsv_clicked()
{
    EthernetHandler *handler = Device::instance()->ethernetHandler();
    handler->pauseLinkWatch();
    const WaitGuard guard(this);
    saveCSV();
    // A window closed during the file dialog sends no heartbeat any more.
    if (!goesOn(guard, this))
        return;
    handler->resumeLinkWatch();
}

void MainWindow::saveCSV()
{
    const bool bars = ui->wdgStack->currentWidget() == ui->wdgBarGraph;
    SimpleTable &table = bars ? acquisition->barTable() : acquisition->lineTable();
    // The engineer pressed the button: an empty view is answered, not ignored.
    if (ui->wdgStack->currentWidget() == ui->wdgEmptyPage || table.rowCount() == 0) {
        printNotification(tr("no Data to save present"), false, QMessageBox::Information);
        return;
    }
    const WaitGuard guard(this);
    const QString name = MeasurementCsv::fileName(
        csvNameProvider ? csvNameProvider(tr("Select Filename"), QStringLiteral("*.csv")) : QString());
    if (!guard || name.isEmpty())
        return;

    // The export runs behind the dialog page: the main page is disabled, so
    // no new acquisition can change the table while it is written.
    initProgressbar(tr("Exporting..."), 0);
    const MeasurementCsv::Result result = MeasurementCsv::write(
        name, table, acquisition->exportTexts(), [] { QCoreApplication::processEvents(); });
    if (!guard)
        return;
    deinitProgressbar();
    // Every failure leaves an existing file as it was and no temporary file.
    switch (result) {
    case MeasurementCsv::Result::Written:
        break;
    case MeasurementCsv::Result::CannotOpen:
    case MeasurementCsv::Result::CannotWrite:
        printNotification(tr("Can't open/create file."), false, QMessageBox::Critical);
        break;
    case MeasurementCsv::Result::CannotRemove:
        printNotification(tr("Can't remove existing file."), false, QMessageBox::Critical);
        printNotification(tr("Can't rename temporary file."), false, QMessageBox::Critical);
        break;
    case MeasurementCsv::Result::CannotRename:
        printNotification(tr("Can't rename temporary file."), false, QMessageBox::Critical);
        break;
    }
}
