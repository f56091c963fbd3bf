#include "tourrunner.h"

#include <QApplication>
#include <QPixmap>
#include <QTextStream>

namespace {

// Generous: in the sanitizer build on a busy machine a stop's discovery
// alone can take longer than the step time a quiet machine needs.
constexpr int kStepTimeoutMs = 30000;
constexpr int kSettleMs = 400;

} // namespace

TourRunner::TourRunner(Tour &tour, const QDir &out, const QStringList &only)
    : tour(tour)
    , out(out)
    , only(only)
{
    timer.setInterval(50);
    connect(&timer, &QTimer::timeout, this, &TourRunner::tick);
}

void TourRunner::start()
{
    stepTime.start();
    timer.start();
}

void TourRunner::fail(const QString &what)
{
    QTextStream(stdout) << "stop " << tourStops()[index].name << ": " << what << "\n";
    ++failures;
}

void TourRunner::next()
{
    ++index;
    step = Step::Prepare;
    stepTime.restart();
}

void TourRunner::tick()
{
    const auto &stops = tourStops();
    if (index >= stops.size()) {
        timer.stop();
        QApplication::exit(failures);
        return;
    }
    const TourStop &stop = stops[index];
    const auto timedOut = [this] { return stepTime.elapsed() > kStepTimeoutMs; };
    switch (step) {
    case Step::Prepare:
        if (stop.prepare)
            stop.prepare(tour);
        step = Step::Ready;
        stepTime.restart();
        break;
    case Step::Ready:
        if (!stop.ready || stop.ready(tour)) {
            step = Step::Settle;
            stepTime.restart();
        } else if (timedOut()) {
            fail(QStringLiteral("state not reached"));
            step = Step::Finish;
        }
        break;
    case Step::Settle:
        if (stepTime.elapsed() >= kSettleMs)
            step = Step::Grab;
        break;
    case Step::Grab: {
        const QString name = QString::fromLatin1(stop.name);
        if (only.isEmpty() || only.contains(name)) {
            QWidget *target = stop.target ? stop.target(tour) : tour.window;
            const QString file =
                out.filePath(name + QLatin1Char('-') + tour.language + QStringLiteral(".png"));
            if (target && target->grab().save(file))
                QTextStream(stdout) << file << "\n";
            else
                fail(QStringLiteral("no picture"));
        }
        step = Step::Finish;
        break;
    }
    case Step::Finish:
        if (stop.finish)
            stop.finish(tour);
        step = Step::Left;
        stepTime.restart();
        break;
    case Step::Left:
        if (!stop.left || stop.left(tour)) {
            next();
        } else if (timedOut()) {
            fail(QStringLiteral("could not leave"));
            next();
        }
        break;
    }
}
