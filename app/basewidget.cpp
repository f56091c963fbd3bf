#include "basewidget.h"

#include "replyconnection.h"

#include "scalinghandlercont.h"
#include "stylesheetcontainer.h"
#include "translation.h"

#include <QEvent>
#include <QStyle>

BaseWidget::BaseWidget(QWidget *parent)
    : QWidget(parent)
{
    // The icon kind travels in signals that spies and queued routes carry.
    // The answer pointer is never registered: its signal is only ever
    // connected directly (connectReply).
    static const bool typesRegistered = [] {
        qRegisterMetaType<QMessageBox::Icon>("QMessageBox::Icon");
        return true;
    }();
    Q_UNUSED(typesRegistered)
    setAttribute(Qt::WA_StyledBackground, true);
    translationInProgress = false;
    connect(this, &BaseWidget::translateUiSignal, this, &BaseWidget::translateUiSlot,
            Qt::DirectConnection);
    ScalingHandlerCont::instance();
    stylesheetContainer.applyStylesheet(this);
}

void BaseWidget::ScaleFactorChange(double)
{
    stylesheetContainer.applyStylesheet(this);
}

void BaseWidget::polishWidget(QWidget *ptr)
{
    if (!ptr)
        return;
    style()->unpolish(ptr);
    style()->polish(ptr);
}

void BaseWidget::printNotification(const QString &message, bool showGoToLog,
                                   QMessageBox::Icon kind, bool sendErrorReset)
{
    if (kind == QMessageBox::NoIcon || kind == QMessageBox::Information)
        emit printNotifyBarSuccesswrapper(message, 3000);
    else
        emit printNotifyBarErrorwrapper(message, sendErrorReset, showGoToLog);
}

void BaseWidget::withdrawNotification(const QString &message)
{
    emit withdrawNotifyBarwrapper(message);
}

void BaseWidget::connectWrapperSignals(BaseWidget *child, BaseWidget *parent)
{
    if (!child || !parent)
        return;
    connectReply(child, &BaseWidget::printMessageboxwrapper, parent,
                 [parent](QStringList names, QString title, QString message, QMessageBox::Icon icon,
                          int32_t *answer) {
                     emit parent->printMessageboxwrapper(names, title, message, icon, answer);
                 });
    connect(child, &BaseWidget::printNotifyBarErrorwrapper, parent,
            &BaseWidget::printNotifyBarErrorwrapper);
    connect(child, &BaseWidget::printNotifyBarSuccesswrapper, parent,
            &BaseWidget::printNotifyBarSuccesswrapper);
    connect(child, &BaseWidget::withdrawNotifyBarwrapper, parent, &BaseWidget::withdrawNotifyBarwrapper);
}

void BaseWidget::changeEvent(QEvent *event)
{
    if (!event) // QWidget::changeEvent would dereference it
        return;
    if (event->type() == QEvent::LocaleChange) {
        loadLanguage(locale());
    } else if (event->type() == QEvent::LanguageChange) {
        translationInProgress = true;
        setLocale(QLocale());
        emit translateUiSignal(this);
        translationInProgress = false;
    }
    QWidget::changeEvent(event);
}
