// The dialog host and the progress bar: dialogs are no top-level windows but
// widgets shown in the window's dialog page, in front of the disabled main
// page. Nested dialogs replace each other and come back in reverse order.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "confighandler.h"
#include "device.h"
#include "dialogfit.h"
#include "notificationbar.h"
#include "waitguard.h"

#include <QApplication>
#include <QEventLoop>
#include <QBoxLayout>
#include <QGridLayout>
#include <QLayout>
#include <QProgressBar>
#include <QScrollArea>
#include <QTimer>

namespace {

// The layout that holds the dialog shown: inside the dialog page's scroll
// area, so that a dialog larger than the window scrolls.
QLayout *dialogLayout(QWidget *page)
{
    if (auto *area = page->findChild<QWidget *>(QStringLiteral("wdgDialogArea")))
        return area->layout();
    return page->layout();
}

} // namespace

void MainWindow::enterDialog(QWidget *widget)
{
    if (!widget)
        return;
    QMutexLocker lock(&enterMutex);
    QWidget *replaced = nullptr;
    if (!dialogStack.empty()) {
        replaced = dialogStack.back();
        replaced->hide();
        if (QWidget *focus = QApplication::focusWidget())
            focus->clearFocus();
    } else {
        ui->pageMain->setEnabled(false);
        placeNotificationBar(true);
        ui->pageDialog->show();
        ui->pageDialog->raise();
        ui->pageDialog->resize(size());
        replaced = dialogPlaceholder;
    }
    // The layout hands back the item that held the replaced widget.
    delete dialogLayout(ui->pageDialog)->replaceWidget(replaced, widget, Qt::FindChildrenRecursively);
    dialogStack.push_back(widget);
    // A dialog gets its texts and buttons up to its show (a message box in
    // its exec): it is fitted again then.
    widget->installEventFilter(this);
    fitDialog();
}

void MainWindow::exitDialog()
{
    QMutexLocker lock(&exitMutex);
    QWidget *leaving = dialogPlaceholder;
    QWidget *taking = dialogPlaceholder;
    if (!dialogStack.empty()) {
        leaving = dialogStack.back();
        dialogStack.pop_back();
        if (!dialogStack.empty()) {
            taking = dialogStack.back();
            taking->show();
        }
    }
    if (leaving != taking)
        delete dialogLayout(ui->pageDialog)->replaceWidget(leaving, taking, Qt::FindChildrenRecursively);
    if (leaving != dialogPlaceholder)
        leaving->removeEventFilter(this);
    if (!dialogStack.empty()) {
        fitDialog();
        return;
    }

    // After a configuration write the unit still has to report its save; the
    // dialog page stays up (the main page disabled) until it does, or for
    // the wait's time at most.
    Confighandler *config = Device::instance()->confighandler();
    if (config->waitingForFeedback()) {
        lock.unlock();
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(config, &Confighandler::waitingForFeedbackFinished, &loop, &QEventLoop::quit);
        // The window going ends the wait; its mutex went with it.
        const WaitGuard guard(this);
        guard.endWith(loop);
        timer.start(feedbackWaitMs);
        if (config->waitingForFeedback())
            loop.exec();
        if (!guard)
            return;
        lock.relock();
        // A dialog entered during the wait keeps the dialog page.
        if (!dialogStack.empty())
            return;
    }
    ui->pageDialog->hide();
    ui->pageDialog->lower();
    placeNotificationBar(false);
    ui->pageMain->setEnabled(true);
}

void MainWindow::fitDialog()
{
    if (dialogStack.empty() || fittingDialog || !dialogScroll)
        return;
    QWidget *dialog = dialogStack.back();
    QLayout *page = ui->pageDialog->layout();
    auto *box = qobject_cast<QBoxLayout *>(dialogLayout(ui->pageDialog));
    if (!page || !box)
        return;
    fittingDialog = true;
    // The dialog fits as it is, or by giving up width it does not need (its
    // lists scroll sideways, its texts wrap). Where it would have to give
    // up the room between its parts, the dim margin around it gives way
    // first, above and below before left and right (at a large scale on a
    // small screen the dialog needs the room more than the page its frame).
    const QMargins m = dialogMargins;
    const QMargins steps[] = {
        m,
        QMargins(m.left(), m.top() / 2, m.right(), m.bottom() / 2),
        QMargins(m.left(), 0, m.right(), 0),
        QMargins(m.left() / 2, 0, m.right() / 2, 0),
        QMargins(),
    };
    QSize room;
    for (const QMargins &margins : steps) {
        page->setContentsMargins(margins);
        page->activate();
        room = dialogScroll->maximumViewportSize();
        const dialogfit::Fit fit = dialogfit::fit(dialog, room);
        if (fit != dialogfit::Fit::Tightened && fit != dialogfit::Fit::TooLarge)
            break;
    }
    // A dialog that does not take the whole room stands in its middle.
    const QSizePolicy policy = dialog->sizePolicy();
    const bool fillsWidth = (policy.horizontalPolicy() & QSizePolicy::GrowFlag) && dialog->maximumWidth() >= room.width();
    const bool fillsHeight = (policy.verticalPolicy() & QSizePolicy::GrowFlag) && dialog->maximumHeight() >= room.height();
    const Qt::Alignment align = (fillsWidth ? Qt::Alignment() : Qt::AlignHCenter)
                                | (fillsHeight ? Qt::Alignment() : Qt::AlignVCenter);
    if (box->itemAt(box->indexOf(dialog)) && box->itemAt(box->indexOf(dialog))->alignment() != align)
        box->setAlignment(dialog, align);
    fittingDialog = false;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == dialogScroll && event->type() == QEvent::Resize)
        || (event->type() == QEvent::Show && !dialogStack.empty() && watched == dialogStack.back()))
        fitDialog();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::placeNotificationBar(bool overDialogs)
{
    // Under the dim layer the bar would show only as red strips, and the
    // disabled main page would take its confirm button too.
    NotificationBar *bar = ui->notifyBar;
    auto *grid = qobject_cast<QGridLayout *>(ui->pageDialog->layout());
    auto *home = qobject_cast<QBoxLayout *>(ui->pageMain->layout());
    if (!grid || !home)
        return;
    const bool onDialogPage = bar->parentWidget() == ui->pageDialog;
    if (overDialogs == onDialogPage)
        return;
    if (overDialogs) {
        notifyBarHomeIndex = home->indexOf(bar);
        home->removeWidget(bar);
        // Row 0 above the dialog's row: the dialog gives way while the bar
        // shows, and keeps the whole page while it is empty.
        grid->addWidget(bar, 0, 0);
    } else {
        grid->removeWidget(bar);
        home->insertWidget(notifyBarHomeIndex, bar);
    }
    // "Go to log" would leave the dialog's page behind it (and start the
    // log read beside what the dialog waits for): it is for the main page.
    if (auto *goToLog = bar->findChild<QWidget *>(QStringLiteral("btnGotToLog")))
        goToLog->setEnabled(!overDialogs);
    // Moving a widget hides it; it shows while it holds entries.
    bar->setVisible(bar->entryCount() > 0);
}

namespace {

// The progress bar is drawn at most once per slice, and a slice is at least
// ten times as long as the bar's last drawing took.
constexpr qint64 kProgressSliceMs = 100;
constexpr qint64 kProgressSliceToDrawing = 10;

} // namespace

void MainWindow::initProgressbar(QString title, uint32_t max)
{
    progressMax = max;
    progressBar->setFormat(title);
    enterDialog(progressBar);
    progressCatchUp.stop();
    progressHeldBack = -1;
    progressBar->setValue(0);
    progressBar->show();
    // The first step is drawn at once.
    progressDrawn.invalidate();
}

void MainWindow::setMaxProgressbar(uint32_t max)
{
    progressMax = max;
}

void MainWindow::updateProgressBar(uint32_t value)
{
    if (!progressBar)
        return;
    progressBar->setRange(0, 100);
    // A transfer of a single block announces a maximum of 0: it is complete.
    if (progressMax == 0) {
        showProgress(100);
        return;
    }
    const uint64_t shown = uint64_t(qMin(value, progressMax)) * 100u / progressMax;
    showProgress(int(shown));
}

void MainWindow::showProgress(int percent)
{
    // The bar lies on the half-transparent dialog page: each drawing of it
    // draws the main page beneath it too (on the log page the history graph
    // and the channel buttons with their colour effects), which costs far
    // more than the step it shows. A log's evaluation sends a value per
    // record; drawn per percent, the page beneath took most of its time.
    // So a new percentage is drawn at once only when the slice since the
    // last drawing is over; else the newest one waits for the slice's end.
    if (percent == progressBar->value()) {
        progressHeldBack = -1;
        return;
    }
    const qint64 slice = qMax(kProgressSliceMs, kProgressSliceToDrawing * progressDrawNs / 1000000);
    const qint64 since = progressDrawn.isValid() ? progressDrawn.elapsed() : slice;
    if (since < slice) {
        progressHeldBack = percent;
        if (!progressCatchUp.isActive())
            progressCatchUp.start(int(slice - since));
        return;
    }
    progressCatchUp.stop();
    progressHeldBack = -1;
    QElapsedTimer drawing;
    drawing.start();
    progressBar->setValue(percent);
    progressDrawNs = drawing.nsecsElapsed();
    progressDrawn.start();
}

void MainWindow::deinitProgressbar()
{
    progressCatchUp.stop();
    progressHeldBack = -1;
    exitDialog();
    progressBar->hide();
}
