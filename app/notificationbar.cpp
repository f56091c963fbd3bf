#include "notificationbar.h"

#include "scalinghandlercont.h"
#include "textfitfilter.h"
#include "ui_notificationbar.h"

#include <QBoxLayout>
#include <QEvent>
#include <QLabel>
#include <QMutexLocker>

#include <algorithm>
#include <climits>
#include <cmath>

NotificationBar::NotificationBar(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::NotificationBar)
{
    timer.setSingleShot(true);
    ui->setupUi(this);
    // Its height is what fitHeight gives it; the layout may give it less.
    setSizePolicy(sizePolicy().horizontalPolicy(), QSizePolicy::Maximum);
    // A long message never widens the window: it wraps onto as many lines
    // as it needs, and the bar grows to show them all as far as the window
    // has room to spare. Only beyond that is it cut with "…" (whole in the
    // tool tip then).
    for (QLabel *label : {ui->lblErrorMessage, ui->lblSuccessMessage}) {
        label->setWordWrap(true);
        label->setMinimumWidth(1);
        TextFitFilter::install(label);
        label->installEventFilter(this);
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
    // The room of the page the bar lies in decides how far it may grow.
    if (QWidget *holder = parentWidget(); holder != watchedParent) {
        if (watchedParent)
            watchedParent->removeEventFilter(this);
        watchedParent = holder;
        if (holder)
            holder->installEventFilter(this);
    }
    fitHeight();
    if (entry.timeoutMs != 0)
        timer.start(static_cast<int>(qMin<uint32_t>(entry.timeoutMs, INT32_MAX)));
}

QLabel *NotificationBar::shownLabel() const
{
    return ui->stackedWidget->currentWidget() == ui->pageSuccess ? ui->lblSuccessMessage : ui->lblErrorMessage;
}

int NotificationBar::wholeTextHeight() const
{
    const QLabel *label = shownLabel();
    const int textHeight = label->heightForWidth(label->width());
    if (textHeight <= 0)
        return baseHeight;
    // The label fills the bar's height; a margin above and below the lines
    // keeps them off the bar's edges.
    return textHeight + 2 * padding;
}

int NotificationBar::highestAllowed() const
{
    // At most half the page it lies in, so that the page stays usable under
    // a very long message; on its own the bar takes what it needs.
    return watchedParent ? qMax(baseHeight, watchedParent->height() / 2) : INT_MAX;
}

int NotificationBar::roomBeside() const
{
    if (!watchedParent)
        return INT_MAX;
    auto *column = qobject_cast<QBoxLayout *>(watchedParent->layout());
    if (!column || (column->direction() != QBoxLayout::TopToBottom && column->direction() != QBoxLayout::BottomToTop))
        return baseHeight;
    // The page's height now, less what the other items of its column need
    // at least (a wrapping one at the page's width), as the column counts
    // them. None of it depends on the bar's own height.
    const QRect page = watchedParent->contentsRect().marginsRemoved(column->contentsMargins());
    int others = 0;
    int shown = 0;
    for (int i = 0; i < column->count(); ++i) {
        QLayoutItem *item = column->itemAt(i);
        if (!item)
            continue;
        shown += item->isEmpty() ? 0 : 1;
        if (item->widget() == this)
            continue;
        int least = item->minimumSize().height();
        if (item->hasHeightForWidth())
            least = item->heightForWidth(
                qBound(item->minimumSize().width(), page.width(), item->maximumSize().width()));
        others += least;
    }
    return page.height() - others - qMax(0, column->spacing()) * qMax(0, shown - 1);
}

void NotificationBar::fitHeight()
{
    // The bar asks for the lines' height, at most half its page. It insists
    // on them only as far as the page has room beside what the other widgets
    // need at least: a message never makes the page (and so the window)
    // taller. Where it gets less, the text is cut, whole in the tool tip.
    const int wanted = qMax(baseHeight, qMin(wholeTextHeight(), highestAllowed()));
    const int least = qMax(baseHeight, qMin(wanted, roomBeside()));
    if (wanted != maximumHeight() || least != minimumHeight()) {
        setMinimumHeight(least);
        setMaximumHeight(wanted);
        updateGeometry();
    }
}

QSize NotificationBar::sizeHint() const
{
    return QSize(BaseWidget::sizeHint().width(), maximumHeight());
}

bool NotificationBar::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::LayoutRequest:
        // A new width of the label wraps the text anew; a new height of the
        // page, or a widget beside the bar that needs more now (another page
        // shown), changes how much of it the bar may take. The bar's own
        // change of height comes back here and finds nothing to change.
        if (isVisible() && (watched == watchedParent || watched == shownLabel()))
            fitHeight();
        break;
    case QEvent::FontChange:
    case QEvent::StyleChange:
        if (isVisible() && watched == shownLabel())
            fitHeight();
        break;
    default:
        break;
    }
    return BaseWidget::eventFilter(watched, event);
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
    if (haveTop) {
        showEntry(top);
    } else {
        setVisible(false);
        setMinimumHeight(baseHeight);
        setMaximumHeight(baseHeight);
    }
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
    baseHeight = static_cast<int>(42 * factor);
    padding = static_cast<int>(std::lround(2 * factor));
    setMinimumHeight(baseHeight);
    setMaximumHeight(baseHeight);
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
    if (isVisible())
        fitHeight();
}

void NotificationBar::translateUiSlot(QWidget *)
{
    // The tool tips keep the language the bar was built in.
}
