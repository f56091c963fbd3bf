#include "mainwindowfixture.h"

#include "custommessagebox.h"
#include "notificationbar.h"

#include <QPushButton>

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
