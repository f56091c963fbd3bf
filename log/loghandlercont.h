#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QVector>
#include <array>
#include <memory>

#include "devicerecords.h"
#include "errordecode.h"
#include "linegraph.h"
#include "logrecords.h"
#include "simpletable.h"
#include "skwhistory.h"
#include "versioninfo.h"
#include "xyselectlineproxymodel.h"

class LogFilters;
class QTreeView;
#include "treemodel.h"

// The one owner of the device log once it has been read: fetches the
// identification and the log from the unit, builds the entry tree, runs the
// three ID filters into the SKW history, and writes the LOG, CSV and text
// files. It has no window; the log page hands it its tree view.
class LoghandlerCont : public QObject
{
    Q_OBJECT
public:
    static LoghandlerCont &instance();
    ~LoghandlerCont() override;

    // Makes the tree model (owned by the view) and shows it in the view.
    void setTreeView(QTreeView *view);
    // A tree model without a view, for the log export tool and tests; the
    // caller keeps it alive while it is in use.
    void setTreeModel(TreeModel *model);
    TreeModel *treeModel() const { return m_tree; }

    // Keeps the SKW history graph (the log page's); none for the tool.
    void initFilterModels(LineGraph *graph);
    // Refills the SKW history and the error and configuration time stamps
    // from the tree, then redraws the graph for the current channel mask.
    void refreshFilters();

    // Reads the identification and the log from the unit and shows it.
    // A failure keeps the log that was shown; a read while one is running
    // is refused with ERR_ALREADY_WAITING. A log that ends in a cut record
    // shows its whole records; droppedBytes() tells what was left out.
    errorCode_e readLog();
    // Bytes of a cut last record that the shown log, as read from the unit,
    // left out (0: the log was whole).
    int droppedBytes() const { return m_droppedBytes; }
    // What the user is told about the shown log besides its entries: the
    // bytes of the unit's log or of the LOG file that were not read (empty
    // when the whole input was read). The log page shows it after a read;
    // logexport prints it.
    QString inputNote() const { return m_inputNote; }
    // Shows a raw device log (the unit's records as the block transfer joins
    // them, or such a dump from a file): its whole records; a cut last record
    // is left out and said in inputNote().
    int showDeviceLog(const QByteArray &bytes, const VersionInfo &info);
    // Shows records already in memory: the information entry, then one entry
    // per record that is not erased. Refused while a read runs.
    int evaluateLog(const QVector<LogRecord> &records, const VersionInfo &info);
    bool isBusy() const { return m_busy; }

    // Files, through their dialogs (the page's buttons).
    int exportLogRaw();
    int saveLogFile(const VersionInfo &info);
    int loadLogFile(QVector<LogRecord> &records, VersionInfo &info);
    int importLog();
    int saveLogText();
    int exportLogText();
    // The CSV file of the SKW history; `fileName` is completed in place.
    // `reason` gets why a file was not written (see LogSave::replace).
    int exportCSV(QString &fileName, QString *reason = nullptr);

    // The same without dialogs. The writers complete the name with their
    // suffix and give why a file was not written in `reason`; the readers
    // take the name as it is. `error` gets the reason of a refused LOG file.
    int writeLogFile(const QString &fileName, const VersionInfo &info, QString *reason = nullptr);
    // `warning` gets the note of a file cut inside its records, of which
    // the whole records before the cut are read (empty otherwise).
    int readLogFile(const QString &fileName, QVector<LogRecord> &records, VersionInfo &info, QString *error = nullptr,
                    QString *warning = nullptr);
    int importLogFile(const QString &fileName, QString *error = nullptr, QString *warning = nullptr);
    // Shows the records and version record read from a LOG file, with the
    // note of what of the file was not read (as importLogFile does once it
    // has read the file).
    int showLogFile(const QVector<LogRecord> &records, const VersionInfo &info, const QString &note);
    int writeLogText(const QString &fileName, QString *reason = nullptr);

    // The identification that goes with the shown log (read with it from
    // the unit, or stored in the imported file); all zero before.
    ProductInfoRecord deviceIdentification() const { return m_identification; }
    // What the filters found in the shown log.
    const SkwHistory &skwHistory() const { return m_history; }
    uint8_t channelMask() const { return m_channelMask; }
    // The series the graph shows: channels 0..6, errors, configuration changes.
    XYSelectLineProxyModel *channelSeries(int channel) { return &m_channelSeries.at(size_t(channel)); }
    XYSelectLineProxyModel *errorSeries() { return &m_errorSeries; }
    XYSelectLineProxyModel *configSeries() { return &m_configSeries; }

    // Labels of the SKW history graph's axes.
    static QString timestampLabel(double value);
    static QString integerLabel(double value);

    static const QString kTextSuffix;
    static const QString kLogSuffix;
    static const QString kCsvSuffix;

signals:
    void initProgressbar(QString title, uint32_t max);
    void setMaxProgressbar(uint32_t max);
    void deinitProgressbar();
    void updateProgressbar(uint32_t val);

public slots:
    // Shows the SKW history of the channels in `chnmsk` (bit n = channel n).
    void updateSKWGraphChnsel(uint8_t chnmsk);

private:
    explicit LoghandlerCont(QObject *parent = nullptr);
    int evaluate(const QVector<LogRecord> &records, const VersionInfo &info);
    QStringList channelNames() const;
    void debugStep(const char *step) const;
    // The history into the graph's tables and series.
    void fillTables();

    ProductInfoRecord m_identification{};
    QPointer<TreeModel> m_tree;
    std::unique_ptr<LogFilters> m_filters;
    SkwHistory m_history;
    QPointer<LineGraph> m_graph;
    std::array<SimpleTable, SkwHistory::kChannels> m_channelTables;
    std::array<XYSelectLineProxyModel, SkwHistory::kChannels> m_channelSeries;
    SimpleTable m_errorTable;
    SimpleTable m_configTable;
    XYSelectLineProxyModel m_errorSeries;
    XYSelectLineProxyModel m_configSeries;
    uint8_t m_channelMask = 0x7F;
    int m_droppedBytes = 0;
    QString m_inputNote;
    bool m_busy = false;
    QElapsedTimer m_clock;
};
