#include "dialogframe.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

void centreOnFirstScreen(QWidget *widget)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (!screens.isEmpty())
        widget->move(screens.first()->geometry().center() - widget->rect().center());
}

void halveLogo(QLabel *label)
{
    const QPixmap logo = label->pixmap(Qt::ReturnByValue);
    if (logo.isNull())
        return;
    label->setPixmap(logo.scaled(logo.width() / 2, logo.height() / 2, Qt::KeepAspectRatio, Qt::FastTransformation));
    label->adjustSize();
}
