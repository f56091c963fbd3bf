#pragma once

#include <QObject>
#include <QString>

class QFontMetrics;
class QLabel;
class QSize;

// Lets a label show its text cut with "…" when its space truly runs out,
// instead of clipping it, and then shows the whole text in the tool tip. The
// label keeps its whole text (and so its size hint): as soon as it has room
// again, it shows the text whole. A label that wraps words is cut only when
// its lines no longer fit its height.
class TextFitFilter : public QObject
{
    Q_OBJECT
public:
    // Watches `label` (the filter is the label's child and dies with it).
    static void install(QLabel *label);

    // The text as far as it fits into `room` in the font of `metrics`: the
    // text itself when it fits, else its longest beginning followed by "…".
    // `wrap`: the text may break at word boundaries into as many lines as
    // the height allows.
    static QString fit(const QString &text, const QFontMetrics &metrics, const QSize &room, bool wrap);

    // What `label` shows in its present size, in its own font.
    static QString shownText(const QLabel *label);
    // Its tool tip: its own, led by the whole text when the text is cut.
    static QString toolTipText(const QLabel *label);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TextFitFilter(QLabel *label);
};
