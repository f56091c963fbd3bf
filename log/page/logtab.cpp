#include "logtab.h"
#include "ui_logtab.h"

#include <QFileDialog>
#include <QEvent>
#include <QHeaderView>
#include <QLayout>
#include <QScrollArea>
#include <QPointer>
#include <cmath>

#include "device.h"
#include "errordecode.h"
#include "linegraph.h"
#include "loghandlercont.h"
#include "requestgate.h"
#include "scalinghandlercont.h"

namespace {

// The placeholder of the clock without a link; the same text as the form's
// TAB-separated layout of the time.
const char *const kNoTime = QT_TRANSLATE_NOOP("LogTab", " --:--- \t --:--:-- ");

} // namespace

LogTab::LogTab(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::LogTab)
{
    ui->setupUi(this);

    LoghandlerCont &log = LoghandlerCont::instance();
    log.setTreeView(ui->treeViewLog2);
    log.initFilterModels(ui->wdgLogHistory);

    // The history graph fills the page's visible area below the channel
    // bar, as far as that leaves a plot that can be read; on a lower window
    // it takes the page's whole visible area (and never less than a
    // readable plot needs), and the page scrolls to it.
    ui->wdgLogHistory->setImageHeightLimit([this] { return historyImageLimit(); });
    ui->scrollArea->viewport()->installEventFilter(this);

    // A window of 1024 x 768 leaves this page little height below the
    // window's status rows: the bar's rows start where its heading does, not
    // a frame of margins lower.
    if (QLayout *bar = ui->wdgChnSelBar->layout())
        bar->setContentsMargins(0, 0, 0, 0);

    // Each channel button takes the colour of its series.
    ui->wdgChnSelBar->setColorSource(ui->wdgLogHistory);
    connect(ui->wdgChnSelBar, &ChannelEnableBar::channelMaskchanged, &log, &LoghandlerCont::updateSKWGraphChnsel);
    log.updateSKWGraphChnsel(ui->wdgChnSelBar->getChannelMask());

    EthernetHandler *link = Device::instance()->ethernetHandler();
    connect(link, &EthernetHandler::connectionLost, this, &LogTab::lostconnection);
    connect(link, &EthernetHandler::connectionPing, this, &LogTab::connectionsuccesfull);
    connect(ui->btnExportCSV, &QPushButton::clicked, this, &LogTab::saveCSV);

    ui->lblSystemtimetxt->setText(tr(kNoTime));
    busy = false;
    on_btnLogList_clicked();
    ScaleFactorChange(ScalingHandlerCont::instance()->getScaleFactor());
}

LogTab::~LogTab()
{
    delete ui;
}

QString LogTab::deviceTimeText(uint32_t t)
{
    auto pad = [](uint32_t v, int width) { return QString::number(v).rightJustified(width, QLatin1Char('0')); };
    return tr(" %1:%2 \t %3:%4:%5 ")
        .arg(pad((t / 31536000u) % 100u, 2), pad((t / 86400u) % 365u, 3), pad((t / 3600u) % 24u, 2),
             pad((t / 60u) % 60u, 2), pad(t % 60u, 2));
}

int LogTab::historyImageLimit() const
{
    LineGraph *graph = ui->wdgLogHistory;
    const int view = ui->scrollArea->viewport()->height();
    const int beside = graph->heightBesideImage();
    // Everything else the scrolled part holds (labels, channel bar, margins
    // and spacing).
    const int rest = ui->scrollAreaWidgetContents->layout()->sizeHint().height() - graph->sizeHint().height();
    const int withRest = view - rest - beside;
    // Where the rest of the view leaves too little to read the plot, the
    // page scrolls: the graph then takes the whole view, so that scrolled
    // to, it shows whole (on a window lower than a readable plot, the graph
    // keeps that height and shows in parts).
    return withRest >= graph->readableHeight() ? withRest : std::max(1, view - beside);
}

bool LogTab::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->scrollArea->viewport() && event->type() == QEvent::Resize)
        ui->wdgLogHistory->invalidate();
    return BaseWidget::eventFilter(watched, event);
}

void LogTab::manReadLogTrigger()
{
    on_btnGetLog_clicked();
}

void LogTab::on_btnGetLog_clicked()
{
    // The read runs nested event loops, in which the main window may ask
    // for a read again (it does on every switch to this page). The running
    // read goes on; a second one would only be refused and would enable
    // the page in the middle of the first.
    if (busy)
        return;
    // The page may go meanwhile.
    QPointer<LogTab> self(this);
    busy = true;
    // Every block of the log is a request of its own: the read is one
    // sequence, the window held until its last answer.
    const RequestHold hold;
    setEnabled(false);
    LoghandlerCont &log = LoghandlerCont::instance();
    const int code = log.readLog();
    if (!self)
        return;
    if (code != ERR_OK) {
        // The log shown is still the last one, and so is what its note says.
        const QString failure = reportFailure(QT_TR_NOOP("Get Log failed. Error: %1 Errorcode: %2"), code);
        if (!shownReadFailures.contains(failure))
            shownReadFailures.append(failure);
    } else {
        // A failed read is over once a read succeeds: its message goes, or
        // it would wait under this log's note and come back when the note
        // is withdrawn, as if this read had failed.
        for (const QString &failure : qAsConst(shownReadFailures))
            withdrawNotification(failure);
        shownReadFailures.clear();
        // A note about the log shown before says nothing about this one: it
        // goes, whether this log is whole or not.
        if (!shownInputNote.isEmpty())
            withdrawNotification(shownInputNote);
        shownInputNote = log.inputNote();
        if (!shownInputNote.isEmpty())
            // The same words as logexport says for the same bytes.
            printNotification(shownInputNote, false, QMessageBox::Warning, false);
    }
    setEnabled(true);
    busy = false;
}

void LogTab::on_btnExportLogRaw_clicked()
{
    const int code = LoghandlerCont::instance().exportLogRaw();
    if (code != ERR_OK)
        reportFailure(QT_TR_NOOP("Get Log failed. Error: %1 Errorcode: %2"), code);
}

QString LogTab::chooseCsvFile()
{
    return QFileDialog::getSaveFileName(this, tr("Select Filename"), QString(),
                                        QStringLiteral("*.") + LoghandlerCont::kCsvSuffix);
}

void LogTab::saveCSV()
{
    LoghandlerCont &log = LoghandlerCont::instance();
    // Asking for a file name that nothing would be written to only hides
    // that there is nothing to write.
    if (log.skwHistory().isEmpty()) {
        reportNothingToExport();
        return;
    }
    QPointer<LogTab> self(this);
    setEnabled(false);
    EthernetHandler *link = Device::instance()->ethernetHandler();
    link->pauseLinkWatch();
    QString name = chooseCsvFile();
    const bool chosen = !name.trimmed().isEmpty();
    const int code = self ? log.exportCSV(name) : int(ERR_OK);
    link->resumeLinkWatch();
    if (!self)
        return;
    if (code != ERR_OK)
        reportFailure(QT_TR_NOOP("Save Csv failed. Error: %1 Errorcode: %2"), code);
    else if (chosen && log.skwHistory().isEmpty())
        // The log shown changed while the dialog was open.
        reportNothingToExport();
    setEnabled(true);
}

void LogTab::reportNothingToExport()
{
    printNotification(tr("Nothing to export: the log shown holds no SKW values, errors or configuration changes."),
                      false, QMessageBox::Warning, false);
}

QString LogTab::reportFailure(const char *message, int code)
{
    const QString text = tr(message).arg(ErrorDecode::decode(code)).arg(code);
    printNotification(text, false, QMessageBox::Critical, false);
    return text;
}

void LogTab::showPage(bool graph)
{
    ui->btnSKWHist->setChecked(graph);
    ui->btnLogList->setChecked(!graph);
    ui->stackGraph->setCurrentWidget(graph ? ui->pageGraph : ui->pageTreeView);
    polishWidget(ui->btnLogList);
    polishWidget(ui->btnSKWHist);
    // The stacked widget takes the size of the page shown.
    QWidget *shown = graph ? ui->pageGraph : ui->pageTreeView;
    QWidget *hidden = graph ? ui->pageTreeView : ui->pageGraph;
    hidden->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    shown->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
    // The CSV file is the history's: its button stands in the row of the
    // page's file buttons, where it takes no height from the graph, and only
    // while the history is shown.
    ui->btnExportCSV->setVisible(graph);
}

void LogTab::on_btnSKWHist_clicked()
{
    showPage(true);
}

void LogTab::on_btnLogList_clicked()
{
    showPage(false);
}

void LogTab::lostconnection()
{
    ui->btnGetLog->setEnabled(false);
    ui->lblSystemtimetxt->setText(QString::fromUtf8(kNoTime));
}

void LogTab::connectionsuccesfull(HearBeatMessage_t &states, QHostAddress)
{
    // While a read runs the page stays disabled; the next heartbeat after
    // it decides again.
    if (!busy)
        setEnabled((states.dataControl & 0x0F) != 1);
    ui->btnGetLog->setEnabled(true);
    ui->lblSystemtimetxt->setText(deviceTimeText(states.deviceTime));
}

void LogTab::ScaleFactorChange(double factor)
{
    const int s = int(std::lround(24 * factor));
    ui->btnGetLog->setIconSize(QSize(s, s));
    ui->btnExportLogRaw->setIconSize(QSize(s, s));
    ui->btnExportCSV->setIconSize(QSize(s, s));
    QHeaderView *header = ui->treeViewLog2->header();
    header->setMinimumSectionSize(int(200 * factor));
    header->setDefaultSectionSize(int(300 * factor));
    // The expand arrows are drawn in the rows' indentation: it follows the
    // factor, from the style's own width each time.
    ui->treeViewLog2->resetIndentation();
    ui->treeViewLog2->setIndentation(int(std::lround(ui->treeViewLog2->indentation() * factor)));
    BaseWidget::ScaleFactorChange(factor);
}

void LogTab::translateUiSlot(QWidget *)
{
    ui->retranslateUi(this);
    // The graph's titles and series names follow the language too.
    LoghandlerCont::instance().refreshFilters();
    // Translated captions must not be cut.
    ui->btnGetLog->setMinimumWidth(ui->btnGetLog->sizeHint().width());
    ui->btnExportLogRaw->setMinimumWidth(ui->btnExportLogRaw->sizeHint().width());
    ui->btnExportCSV->setMinimumWidth(ui->btnExportCSV->sizeHint().width());
}
