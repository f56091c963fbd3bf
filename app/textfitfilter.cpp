#include "textfitfilter.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace {

const QChar kEllipsis(0x2026);

bool fitsInto(const QString &text, const QFontMetrics &metrics, const QSize &room, bool wrap)
{
    if (!wrap)
        return metrics.horizontalAdvance(text) <= room.width();
    const QRect needed = metrics.boundingRect(QRect(0, 0, room.width(), 1 << 20), Qt::TextWordWrap, text);
    return needed.width() <= room.width() && needed.height() <= room.height();
}

// The room the label draws its text in.
QRect textRect(const QLabel *label)
{
    const int m = label->margin();
    return label->contentsRect().adjusted(m, m, -m, -m);
}

} // namespace

TextFitFilter::TextFitFilter(QLabel *label)
    : QObject(label)
{
    label->installEventFilter(this);
}

void TextFitFilter::install(QLabel *label)
{
    if (label && !label->findChild<TextFitFilter *>(QString(), Qt::FindDirectChildrenOnly))
        new TextFitFilter(label);
}

QString TextFitFilter::fit(const QString &text, const QFontMetrics &metrics, const QSize &room, bool wrap)
{
    if (fitsInto(text, metrics, room, wrap))
        return text;
    if (!wrap)
        return metrics.elidedText(text, Qt::ElideRight, qMax(0, room.width()));
    // The longest beginning that still fits with the ellipsis.
    int low = 0;
    int high = text.size();
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (fitsInto(text.left(mid).trimmed() + kEllipsis, metrics, room, true))
            low = mid;
        else
            high = mid - 1;
    }
    const QString cut = text.left(low).trimmed() + kEllipsis;
    return fitsInto(cut, metrics, room, true) ? cut : metrics.elidedText(text, Qt::ElideRight, qMax(0, room.width()));
}

QString TextFitFilter::shownText(const QLabel *label)
{
    if (!label)
        return QString();
    return fit(label->text(), label->fontMetrics(), textRect(label).size(), label->wordWrap());
}

QString TextFitFilter::toolTipText(const QLabel *label)
{
    if (!label)
        return QString();
    const QString own = label->toolTip();
    if (shownText(label) == label->text() || own == label->text())
        return own;
    return own.isEmpty() ? label->text() : label->text() + QLatin1Char('\n') + own;
}

bool TextFitFilter::eventFilter(QObject *watched, QEvent *event)
{
    auto *label = qobject_cast<QLabel *>(watched);
    if (!label || !event)
        return false;
    if (event->type() == QEvent::Paint) {
        const QString shown = shownText(label);
        if (shown == label->text())
            return false;
        // The cut text in the label's own font, colour and alignment; the
        // label itself would clip the whole text at its edge.
        QPainter painter(label);
        int flags = int(label->alignment());
        if (label->wordWrap())
            flags |= Qt::TextWordWrap;
        label->style()->drawItemText(&painter, textRect(label), flags, label->palette(), label->isEnabled(),
                                     shown, label->foregroundRole());
        return true;
    }
    if (event->type() == QEvent::ToolTip) {
        const QString tip = toolTipText(label);
        if (tip == label->toolTip())
            return false;
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), tip, label);
        return true;
    }
    return false;
}
