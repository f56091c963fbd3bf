#pragma once

#include "tour.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>

// Takes the stops one after the other from a timer of the event loop and
// saves a PNG of each; quits the application with the number of failures.
class TourRunner : public QObject
{
    Q_OBJECT
public:
    TourRunner(Tour &tour, const QDir &out, const QStringList &only);
    void start();

private:
    enum class Step { Prepare, Ready, Settle, Grab, Finish, Left };
    void tick();
    void fail(const QString &what);
    void next();

    Tour &tour;
    QDir out;
    QStringList only;
    QTimer timer;
    QElapsedTimer stepTime;
    size_t index = 0;
    Step step = Step::Prepare;
    int failures = 0;
};
