#include "basewidget.h"

#include "scalinghandlercont.h"
#include "stylesheetcontainer.h"
#include "translation.h"

#include <QEvent>
#include <QStyle>

BaseWidget::BaseWidget(QWidget *parent)
    : QWidget(parent)
{
    // The message box request's argument types, so that queued routes (and
    // signal spies) can carry them.
    static const bool typesRegistered = [] {
        qRegisterMetaType<QMessageBox::Icon>("QMessageBox::Icon");
        qRegisterMetaType<int32_t *>("int32_t*");
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

void BaseWidget::connectWrapperSignals(BaseWidget *child, BaseWidget *parent)
{
    if (!child || !parent)
        return;
    connect(child, &BaseWidget::printMessageboxwrapper, parent,
            &BaseWidget::printMessageboxwrapper);
    connect(child, &BaseWidget::printNotifyBarErrorwrapper, parent,
            &BaseWidget::printNotifyBarErrorwrapper);
    connect(child, &BaseWidget::printNotifyBarSuccesswrapper, parent,
            &BaseWidget::printNotifyBarSuccesswrapper);
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
