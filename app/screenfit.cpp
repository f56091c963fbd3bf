#include "screenfit.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>

namespace screenfit {

QRect availableArea(const QWidget *widget)
{
    QScreen *screen = widget ? widget->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d+)\\s*x\\s*(\\d+)\\s*$"));
    const QRegularExpressionMatch m = pattern.match(QString::fromLocal8Bit(qgetenv("KORVANTIS_SCREEN")));
    if (m.hasMatch() && m.captured(1).toInt() > 0 && m.captured(2).toInt() > 0)
        return QRect(area.topLeft(), QSize(m.captured(1).toInt(), m.captured(2).toInt()));
    return area;
}

QSize fittedSize(const QSize &wanted, const QRect &area)
{
    return wanted.boundedTo(area.size()).expandedTo(QSize(1, 1));
}

QPoint fittedPosition(const QPoint &position, const QSize &size, const QRect &area)
{
    int x = qMin(position.x(), area.right() + 1 - size.width());
    int y = qMin(position.y(), area.bottom() + 1 - size.height());
    return QPoint(qMax(x, area.left()), qMax(y, area.top()));
}

void fitWindow(QWidget *window, const QSize &wanted)
{
    if (!window)
        return;
    const QRect area = availableArea(window);
    // The frame the window system draws around the window needs room too;
    // before the window is shown it is not known yet.
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    const QRect inner(area.topLeft(), (area.size() - frame).expandedTo(QSize(1, 1)));
    const QSize size = fittedSize(wanted, inner);
    window->resize(size);
    window->move(fittedPosition(window->pos(), size + frame, area));
}

} // namespace screenfit
