#include "mainwindowfixture.h"

#include "configtab.h"
#include "custommessagebox.h"
#include "device.h"
#include "ethernethandler.h"
#include "navtreemodel.h"
#include "notificationbar.h"

#include <QCoreApplication>
#include <QEvent>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTreeView>

BoxAnswerer::BoxAnswerer(QWidget *window, QList<int> answers)
    : answers(std::move(answers))
    , window(window)
{
    timer.setInterval(10);
    connect(&timer, &QTimer::timeout, this, &BoxAnswerer::poll);
    timer.start();
}

void BoxAnswerer::poll()
{
    for (CustomMessageBox *box : window->findChildren<CustomMessageBox *>()) {
        if (!box->isVisible())
            continue;
        QStringList captions;
        for (QPushButton *button : box->questionButtons())
            captions << button->text();
        boxes.append({box->titleText(), box->messageText(), captions});
        mainPageEnabledMeanwhile = window->findChild<QWidget *>(QStringLiteral("pageMain"))->isEnabled();
        const int answer = answers.isEmpty() ? -1 : answers.takeFirst();
        if (answer >= 0 && answer < box->questionButtons().size())
            box->questionButtons().at(answer)->click();
        else
            box->closeButton()->click();
        return;
    }
}

QStringList takeBarTexts(NotificationBar *bar)
{
    QStringList texts;
    while (bar->entryCount() > 0) {
        texts << bar->currentEntry().text;
        bar->on_btnConfirm_clicked();
    }
    return texts;
}

void settleLayouts()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    for (int n = 0; n < 3; ++n) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
    }
}

void startWindowLink(int baseTimeoutMs, int watchdogMs)
{
    LinkTimings t;
    t.baseTimeoutMs = baseTimeoutMs;
    t.heartbeatMs = 100;
    t.watchdogMs = watchdogMs;
    t.watchdogSingleCoreMs = 2 * watchdogMs;
    Device::instance()->ethernetHandler()->setTimings(t);
    Device::instance()->startTransport();
}

bool selectConfigPage(QWidget *window, const char *page)
{
    auto *tab = part<ConfigTab>(window, "pageScrollConfig");
    const QModelIndex row = tab->findIndexForPage(tab->navModel()->rootItem(), part<QWidget>(window, page));
    if (!row.isValid())
        return false;
    part<QTreeView>(window, "treeSel")->selectionModel()->select(
        row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}
