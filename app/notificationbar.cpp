#include "notificationbar.h"

#include "scalinghandlercont.h"
#include "textfitfilter.h"
#include "ui_notificationbar.h"

#include <QBoxLayout>
#include <QMutexLocker>

#include <algorithm>
#include <cmath>

NotificationBar::NotificationBar(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::NotificationBar)
{
    timer.setSingleShot(true);
    ui->setupUi(this);
    // A long message never widens the window: it wraps onto a second line
    // and is cut with "…" only when even that is not enough (whole in the
    // tool tip then).
    for (QLabel *label : {ui->lblErrorMessage, ui->lblSuccessMessage}) {
        label->setWordWrap(true);
        label->setMinimumWidth(1);
        TextFitFilter::install(label);
        // The message, not the gap before the buttons, takes the bar's room.
        if (auto *row = qobject_cast<QBoxLayout *>(label->parentWidget()->layout()))
            row->setStretchFactor(label, 1);
    }
    ScaleFactorChange(ScalingHandlerCont::instance()->getScaleFactor());
    connect(&timer, &QTimer::timeout, this, &NotificationBar::timerTimeout);
    ui->btnConfirm->setToolTip(tr("Confirm"));
    ui->btnGotToLog->setToolTip(tr("Go to log"));
    setVisible(false);
}

NotificationBar::~NotificationBar()
{
    timer.stop();
    delete ui;
}

void NotificationBar::showError(const QString &message, bool sendErrorReset, bool showGoToLog)
{
    NotificationEntry entry;
    entry.page = ui->pageError;
    entry.text = message;
    entry.sendErrorReset = sendErrorReset;
    entry.showGoToLog = showGoToLog;
    entry.timeoutMs = 0;
    pushEntry(entry);
}

void NotificationBar::showSuccess(const QString &message, uint32_t timeMs)
{
    NotificationEntry entry;
    entry.page = ui->pageSuccess;
    entry.text = message;
    entry.timeoutMs = timeMs;
    pushEntry(entry);
}

int NotificationBar::entryCount() const
{
    QMutexLocker locker(&mutex);
    return entries.size();
}

NotificationEntry NotificationBar::currentEntry() const
{
    QMutexLocker locker(&mutex);
    return entries.isEmpty() ? NotificationEntry() : entries.last();
}

void NotificationBar::pushEntry(const NotificationEntry &entry)
{
    {
        QMutexLocker locker(&mutex);
        timer.stop();
        entries.append(entry);
    }
    showEntry(entry);
}

void NotificationBar::showEntry(const NotificationEntry &entry)
{
    setVisible(true);
    ui->lblErrorMessage->setText(entry.text);
    ui->lblSuccessMessage->setText(entry.text);
    ui->btnGotToLog->setVisible(entry.showGoToLog);
    ui->stackedWidget->setCurrentWidget(entry.page);
    if (entry.timeoutMs != 0)
        timer.start(static_cast<int>(qMin<uint32_t>(entry.timeoutMs, INT32_MAX)));
}

void NotificationBar::dismissCurrentEntry()
{
    bool resetWanted = false;
    {
        QMutexLocker locker(&mutex);
        timer.stop();
        if (!entries.isEmpty())
            resetWanted = entries.takeLast().sendErrorReset;
    }
    showTopEntry();
    // Emitted last and without the lock: the receiver may wait in a nested
    // event loop in which further entries are pushed or dismissed.
    if (resetWanted)
        emit sendErrorReset();
}

void NotificationBar::withdraw(const QString &message)
{
    {
        QMutexLocker locker(&mutex);
        if (entries.isEmpty())
            return;
        const bool topGone = entries.last().text == message;
        const int before = entries.size();
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [&](const NotificationEntry &e) { return e.text == message; }),
                      entries.end());
        if (entries.size() == before || !topGone)
            return;
        timer.stop();
    }
    showTopEntry();
}

void NotificationBar::showTopEntry()
{
    NotificationEntry top;
    bool haveTop = false;
    {
        QMutexLocker locker(&mutex);
        if (!entries.isEmpty()) {
            top = entries.last();
            haveTop = true;
        }
    }
    // Shown without the lock: showing lays out the bar and may run
    // queued work that pushes entries.
    if (haveTop)
        showEntry(top);
    else
        setVisible(false);
}

void NotificationBar::timerTimeout()
{
    dismissCurrentEntry();
}

void NotificationBar::on_btnConfirm_clicked()
{
    dismissCurrentEntry();
}

void NotificationBar::on_btnGotToLog_clicked()
{
    emit goToLog();
}

void NotificationBar::ScaleFactorChange(double factor)
{
    const int barHeight = static_cast<int>(42 * factor);
    setMinimumHeight(barHeight);
    setMaximumHeight(barHeight);
    resize(width(), static_cast<int>(height() * factor));
    const int s = static_cast<int>(std::lround(24 * factor));
    for (QPushButton *button : {ui->btnConfirm, ui->btnGotToLog}) {
        button->setIconSize(QSize(s, s));
        button->setMaximumSize(s, s);
        button->resize(s, s);
    }
    for (QLabel *icon : {ui->lblErrorIcon, ui->lblSuccessIcon}) {
        icon->setFixedWidth(s);
        icon->setMaximumHeight(s);
    }
}

void NotificationBar::translateUiSlot(QWidget *)
{
    // The tool tips keep the language the bar was built in.
}
