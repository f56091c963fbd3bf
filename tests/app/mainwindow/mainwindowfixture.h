#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class QWidget;

// Answers the message boxes that a window shows while this object lives,
// from a timer of the event loop (the box waits in a nested loop): the
// next queued answer is the index of the button to click, -1 closes the box.
// Every box shown is recorded.
class BoxAnswerer : public QObject
{
    Q_OBJECT
public:
    struct Box
    {
        QString title;
        QString message;
        QStringList captions;
    };

    explicit BoxAnswerer(QWidget *window, QList<int> answers = {});
    QList<Box> boxes;
    QList<int> answers;
    // What the window's dialog page looked like while the last box was open.
    bool mainPageEnabledMeanwhile = true;

private:
    void poll();
    QWidget *window;
    QTimer timer;
};

class NotificationBar;
// Confirms every entry of the notification bar, oldest first, and returns
// their texts.
QStringList takeBarTexts(NotificationBar *bar);

// Lets the event loop lay out what is pending: a language switch's
// change events and the layout requests, over a few passes (a layout that
// changes a widget's size requests the next one).
void settleLayouts();

// The program's one link for a window test: heartbeats every 100 ms, the
// request time-out `baseTimeoutMs`, and a watchdog long enough that a
// loaded machine does not lose the link in the middle of a test; the
// transport started.
void startWindowLink(int baseTimeoutMs = 150, int watchdogMs = 5000);

// Selects the configuration page `page` (its object name) in the
// navigation tree of `window`, as a click on its row does; false where
// the tree has no row for it.
bool selectConfigPage(QWidget *window, const char *page);

// A widget of `window` by its object name; the test fails hard without it.
template <typename T>
T *part(QWidget *window, const char *name);

#include <QWidget>

template <typename T>
T *part(QWidget *window, const char *name)
{
    T *widget = window->findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}
