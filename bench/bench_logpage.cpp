// The log page of KorvantisSetup's main window evaluating a device log read
// from the simulated unit (3000 records, SKW values on all 7 channels, all
// channels ticked) in a window of a full-HD screen, once with "Log List"
// shown and once with "SKW History" shown, in interleaved rounds. The evaluation is timed from the handler's
// "Evaluating Log..." progress bar to its end; the history graph then draws
// the new log on its own thread. Prints the median of each view, their ratio
// and the goal: the history view evaluates at most 1.2x as long as the list.
// Also prints how often the progress bar was drawn per evaluation (each time
// the page beneath the half-transparent dialog page is drawn with it) and
// how often the history graph rendered per read.
//
// Needs a loopback interface of its own:
//   unshare -n bash -c 'ip link set lo up; QT_QPA_PLATFORM=offscreen build/bin/bench_logpage'
// Arguments: [rounds] [records] [list|history] (the last, for a profile:
// one view only).
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "channelenablebar.h"
#include "confighandler.h"
#include "custommessagebox.h"
#include "databasecont.h"
#include "device.h"
#include "ethernethandler.h"
#include "linegraph.h"
#include "loghandlercont.h"
#include "logtab.h"
#include "mainwindow.h"
#include "metatypes.h"
#include "unitsim.h"
#include "unitsimblocks.h"

namespace {

// Counts the paint events of one widget.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

const QHostAddress kUnit(QStringLiteral("127.0.9.41"));

// Runs the event loop until `done` holds or `ms` have passed.
bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

template <typename T>
T *part(QWidget *window, const char *name)
{
    T *widget = window->findChild<T *>(QString::fromLatin1(name));
    if (!widget) {
        std::fprintf(stderr, "no widget %s\n", name);
        std::exit(2);
    }
    return widget;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The program's own diagnostics would only be timed along.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const int records = argc > 2 ? std::max(1, atoi(argv[2])) : 3000;
    const QString only = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const bool runList = only != QLatin1String("history");
    const bool runHistory = only != QLatin1String("list");
    registerMetaTypes();

    UnitSim unit;
    unit.setPushInterval(0);
    QString error;
    if (!unit.startQuiet(kUnit, &error)) {
        std::fprintf(stderr, "the simulated unit does not start at %s: %s (run in a network namespace with lo up)\n",
                     qPrintable(kUnit.toString()), qPrintable(error));
        return 1;
    }
    UnitSimBlocks::of(&unit)->setLogArea(UnitSimBlocks::makeLogRecords(records));
    unit.setDataControl(0x10);  // an idle unit: the log page is free

    EthernetHandler *link = Device::instance()->ethernetHandler();
    LinkTimings t;
    t.baseTimeoutMs = 1000;
    t.heartbeatMs = 500;
    t.watchdogMs = 60000;
    t.watchdogSingleCoreMs = 60000;
    link->setTimings(t);
    Device::instance()->startTransport();
    Databasecont::instance().setDbDirectory(QCoreApplication::applicationDirPath() + QStringLiteral("/Korvantisdbs/"));

    MainWindow window;
    // Maximised on a full-HD screen: the progress bar lies across the graph.
    window.resize(1920, 1080);
    window.show();

    // The offer to read the unit's configuration is declined.
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        for (CustomMessageBox *box : window.findChildren<CustomMessageBox *>())
            if (box->isVisible() && !box->questionButtons().isEmpty())
                box->questionButtons().constFirst()->click();
    });
    answerer.start(10);

    Device::instance()->confighandler()->setIpAddress(kUnit);
    link->setTargetIP(kUnit);
    if (!waitFor([&] { return link->isConnected() && !window.asksReadConfig() && !link->isWaiting(); }, 20000)) {
        std::fprintf(stderr, "no link to the simulated unit\n");
        return 1;
    }

    // Opening the page reads the log once.
    window.setcurrentIndexes(MainWindow::PageLog);
    auto *page = part<LogTab>(&window, "pageScrollLog");
    auto *bar = part<ChannelEnableBar>(page, "wdgChnSelBar");
    for (int ch = 0; ch < 7; ++ch)
        bar->checkBox(ch)->setChecked(true);
    auto *graph = part<LineGraph>(page, "wdgLogHistory");
    auto *read = part<QPushButton>(page, "btnGetLog");
    auto *list = part<QPushButton>(page, "btnLogList");
    auto *history = part<QPushButton>(page, "btnSKWHist");

    QObject::connect(page, &BaseWidget::printNotifyBarErrorwrapper,
                     [](const QString &message) { std::fprintf(stderr, "%s\n", qPrintable(message)); });
    LoghandlerCont &log = LoghandlerCont::instance();
    QElapsedTimer evaluation;
    qint64 evaluationNs = -1;
    PaintCounter barPaints;
    window.progress()->installEventFilter(&barPaints);
    int barPaintsAtStart = 0;
    int barPaintsInEvaluation = 0;
    QObject::connect(&log, &LoghandlerCont::initProgressbar, [&] {
        barPaintsAtStart = barPaints.paints;
        evaluation.start();
    });
    QObject::connect(&log, &LoghandlerCont::deinitProgressbar, [&] {
        evaluationNs = evaluation.nsecsElapsed();
        barPaintsInEvaluation = barPaints.paints - barPaintsAtStart;
    });

    struct Read
    {
        double ms = -1;  // the evaluation's
        int barPaints = 0;
        int renders = 0;
    };
    // One read as the user clicks it; a read the busy machine let time out
    // is tried again.
    auto readOnce = [&]() {
        Read r;
        for (int attempt = 0; attempt < 3 && r.ms < 0; ++attempt) {
            if (!waitFor([&] { return read->isEnabled() && page->isEnabled() && !link->isWaiting(); }, 20000)) {
                std::fprintf(stderr, "the read button stays disabled\n");
                break;
            }
            evaluationNs = -1;
            const int renders = graph->renderCount();
            read->click();
            // The graph draws the new log after the evaluation; the next
            // round starts from a quiet window.
            waitFor([&] { return !graph->isRendering(); }, 20000);
            QCoreApplication::processEvents();
            if (evaluationNs >= 0) {
                r.ms = evaluationNs / 1e6;
                r.barPaints = barPaintsInEvaluation;
                r.renders = graph->renderCount() - renders;
            }
        }
        return r;
    };

    std::vector<double> listMs, historyMs;
    // A first read of each view warms the caches and the style sheets.
    for (int round = -1; round < rounds; ++round) {
        Read l, h;
        l.ms = h.ms = 0;
        if (runList) {
            list->click();
            l = readOnce();
        }
        if (runHistory) {
            history->click();
            h = readOnce();
        }
        if (l.ms < 0 || h.ms < 0) {
            std::fprintf(stderr, "a read failed\n");
            return 1;
        }
        if (round >= 0) {
            listMs.push_back(l.ms);
            historyMs.push_back(h.ms);
        }
        std::printf("round %2d: Log List %8.1f ms (bar drawn %3d times), SKW History %8.1f ms (bar drawn %3d times, "
                    "graph rendered %d times)\n",
                    round, l.ms, l.barPaints, h.ms, h.barPaints, h.renders);
        std::fflush(stdout);
    }
    const int rows = log.treeModel() ? log.treeModel()->rowCount() : 0;
    const double l = median(listMs);
    const double h = median(historyMs);
    std::printf("%d records (%d rows), %zu series on the graph, %d rounds\n", records, rows,
                size_t(graph->series().size()), rounds);
    std::printf("evaluation with Log List shown:    %8.1f ms (median)\n", l);
    std::printf("evaluation with SKW History shown: %8.1f ms (median)\n", h);
    std::printf("ratio history/list: %.2fx (goal: at most 1.20x)\n", l > 0 ? h / l : 0.0);
    link->disconnectFromDevice();
    return 0;
}
