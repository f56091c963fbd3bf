#pragma once

#include "mainwindow.h"

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QWidget;

// What a stop of the tour can reach: the window, the unit's address and the
// tour's language.
struct Tour
{
    MainWindow *window = nullptr;
    QHostAddress unit;
    QString language;

    // The window's widget of class T with this object name (the form's name).
    template <typename T>
    T *child(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    // The first visible widget of class T in the window, or null.
    template <typename T>
    T *visible() const
    {
        for (T *widget : window->findChildren<T *>())
            if (widget->isVisible())
                return widget;
        return nullptr;
    }
    bool german() const { return language == QLatin1String("de"); }
};

// One picture of the tour. The tour runs inside the event loop, driven by a
// timer, so that a stop may open something that waits in a nested event
// loop (a question, a dialog): `prepare` starts getting there and returns at
// once (schedule anything that waits with QTimer::singleShot); `ready` is
// asked until it holds; then `target` is grabbed (the window when null);
// `finish` starts leaving and `left` is asked until it holds. Null
// functions do nothing and hold at once.
struct TourStop
{
    const char *name;
    std::function<void(Tour &)> prepare;
    std::function<bool(Tour &)> ready;
    std::function<QWidget *(Tour &)> target;
    std::function<void(Tour &)> finish;
    std::function<bool(Tour &)> left;
};

// The stops in the order they are taken.
const std::vector<TourStop> &tourStops();
