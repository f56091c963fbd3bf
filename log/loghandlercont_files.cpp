// The log's files: the LOG file (write and import), the text export and the
// CSV export of the SKW history.
#include <QDataStream>
#include <QDebug>
#include <QFile>
#include <QFileDialog>
#include <QTextStream>

#include "device.h"
#include "logcsv.h"
#include "logentrybase.h"
#include "logfile.h"
#include "loghandlercont.h"
#include "logsave.h"
#include "treemodel.h"

namespace {

QString askSaveName(const QString &suffix)
{
    return QFileDialog::getSaveFileName(nullptr, LoghandlerCont::tr("Select Filename"), QString(),
                                        QStringLiteral("*.") + suffix);
}

} // namespace

int LoghandlerCont::exportLogRaw()
{
    const VersionInfo info(&m_identification);
    EthernetHandler *link = Device::instance()->ethernetHandler();
    // Missing heartbeat answers while the dialog is open must not end the
    // connection.
    link->pauseLinkWatch();
    const int result = saveLogFile(info);
    link->resumeLinkWatch();
    return result;
}

int LoghandlerCont::saveLogFile(const VersionInfo &info)
{
    const QString name = askSaveName(kLogSuffix);
    if (name.trimmed().isEmpty())
        return ERR_OK;
    return writeLogFile(name, info);
}

int LoghandlerCont::writeLogFile(const QString &fileName, const VersionInfo &info, QString *reason)
{
    const QString target = LogSave::completeName(fileName, kLogSuffix);
    if (target.isEmpty())
        return ERR_OK;
    // Without a tree the file still carries the identification and no record.
    TreeModel empty;
    const LogEntryBase *root = m_tree ? m_tree->rootItem() : empty.rootItem();
    return LogSave::replace(
        target,
        [&](QIODevice &file) {
            QDataStream out(&file);
            LogFile::write(out, info, *root);
            return out.status() == QDataStream::Ok;
        },
        "LOGFile", reason);
}

int LoghandlerCont::loadLogFile(QVector<LogRecord> &records, VersionInfo &info)
{
    const QString name = QFileDialog::getOpenFileName(nullptr, tr("Select Filename"), QString(),
                                                      QStringLiteral("*.") + kLogSuffix);
    if (name.trimmed().isEmpty())
        return ERR_FILE_NOT_FOUND;
    return readLogFile(LogSave::completeName(name, kLogSuffix), records, info);
}

int LoghandlerCont::readLogFile(const QString &fileName, QVector<LogRecord> &records, VersionInfo &info,
                                QString *error, QString *warning)
{
    if (warning)
        warning->clear();
    const QString &name = fileName;
    if (name.trimmed().isEmpty())
        return ERR_FILE_NOT_FOUND;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return ERR_INVALID_FILE;
    }
    QString reason;
    if (!LogFile::read(file.readAll(), &records, &info, &reason, warning)) {
        qDebug() << "LOG file refused:" << name << reason;
        if (error)
            *error = reason;
        return ERR_INVALID_FILE;
    }
    return ERR_OK;
}

int LoghandlerCont::importLog()
{
    if (!m_tree)
        return ERR_INVALID_PARAM;
    const QString name = QFileDialog::getOpenFileName(nullptr, tr("Select Filename"), QString(),
                                                      QStringLiteral("*.") + kLogSuffix);
    if (name.trimmed().isEmpty())
        return ERR_FILE_NOT_FOUND;
    return importLogFile(LogSave::completeName(name, kLogSuffix));
}

int LoghandlerCont::showLogFile(const QVector<LogRecord> &records, const VersionInfo &info, const QString &note)
{
    const int shown = evaluateLog(records, info);
    // The imported log's identification goes with it, so that a LOG file
    // written from it again keeps the unit's identification.
    if (shown == ERR_OK) {
        m_identification = info.productInfo();
        m_inputNote = note;
    }
    return shown;
}

int LoghandlerCont::importLogFile(const QString &fileName, QString *error, QString *warning)
{
    if (!m_tree)
        return ERR_INVALID_PARAM;
    QVector<LogRecord> records;
    VersionInfo info(nullptr);
    QString note;
    const int result = readLogFile(fileName, records, info, error, &note);
    if (warning)
        *warning = note;
    if (result != ERR_OK)
        return result;
    return showLogFile(records, info, note);
}

int LoghandlerCont::saveLogText()
{
    const QString name = askSaveName(kTextSuffix);
    if (name.trimmed().isEmpty())
        return ERR_OK;
    return writeLogText(name);
}

int LoghandlerCont::exportLogText()
{
    return saveLogText();
}

int LoghandlerCont::writeLogText(const QString &fileName, QString *reason)
{
    const QString target = LogSave::completeName(fileName, kTextSuffix);
    if (target.isEmpty())
        return ERR_OK;
    TreeModel empty;
    const LogEntryBase *root = m_tree ? m_tree->rootItem() : empty.rootItem();
    return LogSave::replace(
        target,
        [&](QIODevice &file) {
            QTextStream out(&file);
            out.setCodec("UTF-8");
            root->writeTree(out, 0);
            out.flush();
            return out.status() == QTextStream::Ok;
        },
        "LOGFile", reason);
}

int LoghandlerCont::exportCSV(QString &fileName, QString *reason)
{
    if (m_history.isEmpty())
        return ERR_OK;
    const QString target = LogSave::completeName(fileName, kCsvSuffix);
    if (target.isEmpty())
        return ERR_OK;
    fileName = target;
    const QStringList names = channelNames();
    return LogSave::replace(
        target,
        [&](QIODevice &file) {
            QTextStream out(&file);
            out.setCodec("UTF-8");
            LogCsv::write(out, m_history, names);
            out.flush();
            return out.status() == QTextStream::Ok;
        },
        "CSVFile", reason);
}
