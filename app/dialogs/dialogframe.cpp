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

void scaleLogo(QLabel *label, double factor)
{
    const QPixmap logo = label->pixmap(Qt::ReturnByValue);
    if (logo.isNull())
        return;
    const int width = qMax(1, qRound(logo.width() * factor / 2));
    const int height = qMax(1, qRound(logo.height() * factor / 2));
    label->setPixmap(logo.scaled(width, height, Qt::KeepAspectRatio, Qt::FastTransformation));
    label->adjustSize();
}
