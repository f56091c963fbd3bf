// Connection state, the offer to read a newly reached unit's configuration,
// and the routing of every page's messages to the notification bar or the
// message box.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "connectdialog.h"
#include "confighandler.h"
#include "dataacquisition.h"
#include "configurationtile.h"
#include "custommessagebox.h"
#include "device.h"
#include "errordecode.h"
#include "ethernethandler.h"
#include "linegraph.h"
#include "notificationbar.h"
#include "tiletab.h"
#include "requestgate.h"
#include "waitguard.h"

#include <QApplication>
#include <QDebug>
#include <QIcon>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

namespace {

// Whether the last heartbeat said a reference-run result is ready; for the
// whole process, so a result is requested once per rising edge.
bool refRunResultReady = false;

constexpr uint8_t kDataEnabledState = 2;

} // namespace

void MainWindow::connectionsuccesfull(HearBeatMessage_t &states, QHostAddress)
{
    ui->btnConnectToDevice->setIcon(QIcon(QStringLiteral(":/res/connected-korvantis.svg")));
    ui->btnConnectToDevice->repaint();

    if (askReadConfig) {
        // Cleared before the question: heartbeats keep arriving while it is
        // open. A heartbeat handled while another sequence waits (the
        // engineer's read, a write) asks once that sequence has ended.
        askReadConfig = false;
        const WaitGuard guard(this);
        RequestGate::instance().whenFree(this, [this] { readConfigFromDevice(); });
        if (!goesOn(guard, this))
            return;
    }

    const uint8_t dataHigh = states.dataControl >> 4;
    const uint8_t dataLow = states.dataControl & 0x0F;
    if (dataHigh == 1) {
        ui->grpbData->setEnabled(dataLow != 1);
    } else {
        resetDataView();
        ui->wdgGraph->invalidate();
        ui->grpbData->setEnabled(!(dataHigh == 0 || dataLow == 1));
    }

    const bool runLocked = states.runLock() == 1;
    const bool manualRunAllowed = states.runControl & 0x10;
    ui->btnmanRunstart->setEnabled(!runLocked && manualRunAllowed);
    ui->chkRefRun->setEnabled(!runLocked);
    ui->CommDisplay->setEnabled(!runLocked);
    {
        const QSignalBlocker blocker(ui->chkRefRun);
        ui->chkRefRun->setChecked((states.runControl & 0x0F) == 1);
    }

    const bool dataUsable = states.deviceState() == kDataEnabledState;
    ui->btnDataTab->setEnabled(dataUsable);
    if (dataUsable) {
        if (ConfigurationTile *t = tile(TileReferenceSetup)) {
            t->show();
            ui->pageOverview->updateLayout();
        }
    }
    ui->pageScrollData->setEnabled(dataUsable);
    ui->btnRestartPPU->setEnabled(true);

    // The flag is taken before the request goes out: the request waits in a
    // nested event loop, and the heartbeats handled meanwhile must not ask
    // for the same result again.
    const bool ready = states.runControl & 0x20;
    const bool rising = ready && !refRunResultReady;
    refRunResultReady = ready;
    if (rising)
        RequestGate::instance().whenFree(this, [] { Device::instance()->ethernetHandler()->requestRefRunResult(); });
}

void MainWindow::lostconnection()
{
    ui->btnConnectToDevice->setIcon(QIcon(QStringLiteral(":/res/disconnected-korvantis.svg")));
    ui->btnConnectToDevice->repaint();
    // The measurements shown came from the unit just left; the next unit
    // reached must not export them as its own.
    if (acquisition)
        acquisition->clearData();
    ui->btnDataTab->setEnabled(false);
    if (ConfigurationTile *t = tile(TileReferenceSetup)) {
        t->hide();
        ui->pageOverview->updateLayout();
    }
    ui->pageScrollData->setEnabled(false);
    ui->btnRestartPPU->setEnabled(false);
    askReadConfig = true;
}

void MainWindow::targetNotAnswering(QHostAddress address)
{
    // The connect dialog closed as if all were well; only the silence tells.
    printNotification(tr("The PPU at %1 does not answer. The tool keeps trying to reach it.")
                          .arg(address.toString()),
                      false, QMessageBox::Critical);
}

void MainWindow::readConfigFromDevice()
{
    // Every step waits on the engineer or the unit; a window closed or gone
    // meanwhile reads nothing more. The whole sequence, question included,
    // holds the window: a click between two reads would start a request the
    // link refuses, and a write would send half the unit's configuration and
    // half the tool's defaults.
    const RequestHold hold;
    const WaitGuard guard(this);
    int32_t answer = 0;
    printMessageboxwrapper({tr("No"), tr("Yes")}, tr("Read Config"),
                           tr("Do you want to Read the Config from the selected Device"),
                           QMessageBox::Information, &answer);
    if (!goesOn(guard, this) || answer != 1)
        return;

    Confighandler *config = Device::instance()->confighandler();
    const auto report = [this](const QString &text, errorCode_e result) {
        printNotification(text.arg(ErrorDecode::decode(result)).arg(int(result)), false,
                          QMessageBox::Critical);
    };
    errorCode_e result = config->readDevicename();
    if (!goesOn(guard, this))
        return;
    if (result != 0)
        report(tr("Read device name failed. Error: %1 Errorcode: %2"), result);
    for (uint8_t channel = 0; channel < 7; ++channel) {
        result = config->readChannelname(channel);
        if (!goesOn(guard, this))
            return;
        if (result != 0)
            report(tr("Read Channel name failed. Error: %1 Errorcode: %2"), result);
    }
    result = config->readCFGDevice();
    if (!goesOn(guard, this))
        return;
    if (result != 0)
        report(tr("Read device configuration failed. Error: %1 Errorcode: %2"), result);
}

void MainWindow::on_btnRestartPPU_clicked()
{
    // The unit's restart shows as a lost link.
    Device::instance()->ethernetHandler()->restartPPU();
}

void MainWindow::endRunBeforeLeaving()
{
    if (!acquisition->isTimedRunPending())
        return;
    EthernetHandler *eth = Device::instance()->ethernetHandler();
    const bool refRun = ui->chkRefRun->isChecked();
    const WaitGuard guard(this);
    {
        const RequestHold hold;
        if (!acquisition->endTimedRun() || !goesOn(guard, this) || !refRun)
            return;
        // The unit tells in its heartbeat when the run's result is ready
        // (asked for at once here); the heartbeat handling then asks for
        // the result as soon as this hold ends. A unit that does not tell
        // within the link watch's time keeps its result for the next visit.
        QEventLoop loop;
        if (!guard.endWith(loop))
            return;
        QTimer limit;
        limit.setSingleShot(true);
        connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(eth, &EthernetHandler::connectionLost, &loop, &QEventLoop::quit);
        connect(eth, &EthernetHandler::connectionPing, &loop, [&loop](HearBeatMessage_t &states, QHostAddress) {
            if (states.runControl & 0x20)
                loop.quit();
        });
        limit.start(eth->timings().watchdogMs);
        eth->sendHeartbeat();
        loop.exec();
        if (!goesOn(guard, this))
            return;
    }
    // What the report started runs before the unit is left: the result's
    // read once the gate is free, then its dialog, shown from the event
    // loop once the read has ended.
    QEventLoop loop;
    if (!guard.endWith(loop))
        return;
    RequestGate::instance().whenFree(&loop, [&loop] {
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
    });
    loop.exec();
}

void MainWindow::on_btnConnectToDevice_clicked()
{
    qDebug() << "Button click";
    const WaitGuard guard(this);
    endRunBeforeLeaving();
    if (!goesOn(guard, this))
        return;
    // The dialog leaves the unit whatever is chosen in it (the link watch
    // may have given the unit up already, and says nothing then).
    acquisition->clearData();
    // On the heap: a window deleted while the dialog waits deletes it too.
    QPointer<Connectdialog> dialog = new Connectdialog(this);
    connectBaseWidget(dialog);
    enterDialog(dialog);
    dialog->exec();
    if (!guard)
        return;
    exitDialog();
    delete dialog.data();
}

void MainWindow::errorResetRequested()
{
    qDebug() << "reset error requested";
    // The notification bar stays in reach during a wait: the reset follows it.
    RequestGate::instance().whenFree(this, [] { Device::instance()->ethernetHandler()->sendErrorReset(); });
}

void MainWindow::errorIsFallen(QString error)
{
    printNotification(error, false, QMessageBox::Critical);
}

// ----------------------------------------------------------- message routing

void MainWindow::printNotification(const QString &message, bool showGoToLog, QMessageBox::Icon kind)
{
    qDebug() << "Messagebox: " << message;
    if (kind == QMessageBox::NoIcon || kind == QMessageBox::Information)
        printNotifyBarSuccesswrapper(message, 3000);
    else
        printNotifyBarErrorwrapper(message, false, showGoToLog);
}

void MainWindow::printNotifyBarSuccesswrapper(QString message, uint32_t time)
{
    qDebug() << "Print notifybar Success";
    ui->notifyBar->showSuccess(message, time);
}

void MainWindow::printNotifyBarErrorwrapper(QString message, bool sendErrorReset, bool showGoToLog)
{
    qDebug() << "Print notifybar Error";
    ui->notifyBar->showError(message, sendErrorReset, showGoToLog);
}

void MainWindow::printMessageboxwrapper(QStringList names, QString title, QString message,
                                        QMessageBox::Icon iconsel, int32_t *retptr)
{
    qDebug() << "ping";
    if (names.size() != 1) {
        // On the heap: a window deleted while the box waits deletes it too.
        QPointer<CustomMessageBox> box = new CustomMessageBox(this);
        enterDialog(box);
        const WaitGuard guard(this);
        const int result = box->exec(names, title, message, int(iconsel));
        if (retptr)
            *retptr = result;
        if (!guard)
            return;
        // The box is gone with the answer. When a save on the unit is still
        // running, the window stays held until it ends (at most the wait's
        // time); the busy cursor says it is waiting, not stuck.
        const bool unitSaving = Device::instance()->confighandler()->waitingForFeedback();
        if (unitSaving)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        exitDialog();
        if (unitSaving)
            QApplication::restoreOverrideCursor();
        delete box.data();
        return;
    }
    // A message with a single acknowledge button needs no box.
    switch (iconsel) {
    case QMessageBox::NoIcon:
    case QMessageBox::Information:
        printNotifyBarSuccesswrapper(message, 3000);
        break;
    case QMessageBox::Warning:
    case QMessageBox::Critical:
    case QMessageBox::Question:
        printNotifyBarErrorwrapper(message, false, true);
        break;
    default:
        break;
    }
}
