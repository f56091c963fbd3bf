// The language and scale dialogs of the More menu, the reference-run
// result, and the window's reactions to language, locale, move, resize and
// show events.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "confighandler.h"
#include "device.h"
#include "ethernethandler.h"
#include "loghandlercont.h"
#include "programrun.h"
#include "refrundialog.h"
#include "scalingdialog.h"
#include "translation.h"
#include "translationdialog.h"
#include "waitguard.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

void MainWindow::on_actionLanguage_triggered()
{
    TranslationDialog dialog(this);
    runMenuDialog(dialog);
}

void MainWindow::on_actionScaling_triggered()
{
    ScalingDialog dialog(this);
    if (runMenuDialog(dialog) != ProgramRun::kRestartCode)
        return;
    qDebug() << "RESTARTING APPLICATION due to Scale Change";
    Device::instance()->ethernetHandler()->disconnectFromDevice();
    QCoreApplication::exit(ProgramRun::kRestartCode);
}

void MainWindow::RefRunResultreceived(ReferenceRunResult_t &result)
{
    RefRunDialog dialog(this);
    connectBaseWidget(&dialog);
    enterDialog(&dialog);
    const WaitGuard guard(this);
    dialog.setRefRunResult(result);
    // The window may have gone while the dialog waited.
    if (guard)
        exitDialog();
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
}
