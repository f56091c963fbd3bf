#include <QCoreApplication>
#include <QFile>
#include <QScopeGuard>
#include <cstdio>

#include "device.h"
#include "errordecode.h"
#include "logexportoptions.h"
#include "loghandlercont.h"
#include "logsave.h"
#include "treemodel.h"

// logexport: the log page's files from a log that came by mail or from a
// unit's raw dump. Exit codes: 0 written, 1 bad command line (an output that
// is the input among them), 2 unusable input (a damaged LOG file, an input
// without one whole record), 3 a file not written.
namespace {

void say(const QString &text)
{
    std::fprintf(stderr, "logexport: %s\n", qPrintable(text));
}

QString failure(int code)
{
    return QStringLiteral("%1 (%2)").arg(ErrorDecode::decode(errorCode_e(code))).arg(code);
}

// `info` with what the command line gives in place of its identification
// and machine texts.
VersionInfo overridden(VersionInfo info, const LogExportOptions &o)
{
    if (o.hasIdentification)
        info.setProductInfo(o.identification);
    QStringList host = info.hostInfo();
    for (int i = 0; i < o.machine.size() && i < host.size(); ++i)
        if (!o.machine.at(i).isEmpty())
            host[i] = o.machine.at(i);
    info.setHostInfo(host);
    return info;
}

// What an input too short for one record is told.
QString noRecord(int bytes)
{
    if (bytes == 0)
        return QStringLiteral("the input is empty: it holds no log record");
    return QStringLiteral("the input holds no log record: its %1 bytes are less than one %2-byte record")
        .arg(bytes)
        .arg(LogRecord::kSize);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The handler's progress and timing lines are for the program's debug
    // output, not for this tool's users.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type != QtDebugMsg && type != QtInfoMsg)
            say(text);
    });

    LogExportOptions o;
    QString error;
    if (!o.parse(app.arguments(), &error)) {
        say(error);
        std::fprintf(stderr, "%s", qPrintable(LogExportOptions::usage()));
        return 1;
    }
    if (o.help) {
        std::printf("%s", qPrintable(LogExportOptions::usage()));
        return 0;
    }

    Confighandler *config = Device::instance()->confighandler();
    for (auto it = o.channelNames.cbegin(); it != o.channelNames.cend(); ++it) {
        const errorCode_e r = config->setChannelname(it.value(), uint8_t(it.key()));
        if (r != ERR_OK) {
            say(QStringLiteral("channel %1 cannot be named \"%2\": %3").arg(it.key() + 1).arg(it.value(), failure(r)));
            return 1;
        }
    }

    // Checked before anything is read or written: the input is what the
    // outputs are made from, and a failed run must leave it as it was.
    const QString clash = o.outputThatIsTheInput();
    if (!clash.isEmpty()) {
        say(QStringLiteral("%1 is the input; name another output").arg(clash));
        return 1;
    }

    LoghandlerCont &handler = LoghandlerCont::instance();
    TreeModel tree;
    handler.setTreeModel(&tree);
    const auto unset = qScopeGuard([&handler] { handler.setTreeModel(nullptr); });

    // The version record the outputs carry: for a LOG file the one stored
    // in it (the unit's identification, the tool and the PC that read the
    // log), for a raw log this PC's and this tool's; the command line's
    // texts in place of either.
    VersionInfo info(nullptr);
    if (o.format == LogExportOptions::Format::Log) {
        QVector<LogRecord> records;
        QString note;
        const int r = handler.readLogFile(o.input, records, info, &error, &note);
        if (r != ERR_OK) {
            say(QStringLiteral("%1: %2 %3").arg(o.input, error, failure(r)));
            return 2;
        }
        // A file whose records are all cut away holds no log to write;
        // a file that says it holds none is the log of a unit that had
        // logged nothing, and is written as such.
        if (records.isEmpty() && !note.isEmpty()) {
            say(QStringLiteral("%1: the input holds no whole log record. %2").arg(o.input, note));
            return 2;
        }
        info = overridden(info, o);
        const int shown = handler.showLogFile(records, info, note);
        if (shown != ERR_OK) {
            say(QStringLiteral("%1: %2").arg(o.input, failure(shown)));
            return 2;
        }
    } else {
        QFile file(o.input);
        if (!file.open(QIODevice::ReadOnly)) {
            say(QStringLiteral("%1: %2").arg(o.input, file.errorString()));
            return 2;
        }
        const QByteArray bytes = file.readAll();
        if (bytes.size() < LogRecord::kSize) {
            say(QStringLiteral("%1: %2").arg(o.input, noRecord(bytes.size())));
            return 2;
        }
        info = overridden(VersionInfo(&o.identification), o);
        // Read as the log page reads the unit's log: the whole records, and
        // a cut last record left out and said.
        const int r = handler.showDeviceLog(bytes, info);
        if (r != ERR_OK) {
            say(QStringLiteral("%1: %2").arg(o.input, failure(r)));
            return 2;
        }
    }
    // The whole records before a cut are still worth their files; what was
    // left out is said.
    if (!handler.inputNote().isEmpty())
        say(QStringLiteral("%1: %2").arg(o.input, handler.inputNote()));

    int status = 0;
    auto report = [&](const QString &name, int code, const QString &reason) {
        if (code == ERR_OK) {
            std::printf("%s\n", qPrintable(name));
        } else {
            say(QStringLiteral("%1 not written: %2").arg(name, reason.isEmpty() ? failure(code) : reason));
            status = 3;
        }
    };
    QString reason;
    if (!o.textFile.isEmpty()) {
        const int r = handler.writeLogText(o.textFile, &reason);
        report(LogSave::completeName(o.textFile, LoghandlerCont::kTextSuffix), r, reason);
    }
    if (!o.csvFile.isEmpty()) {
        QString name = o.csvFile;
        const int r = handler.exportCSV(name, &reason);
        if (r == ERR_OK && handler.skwHistory().isEmpty())
            say(QStringLiteral("%1 not written: the log holds no SKW values, errors or configuration changes")
                    .arg(name));
        else
            report(name, r, reason);
    }
    if (!o.logFile.isEmpty()) {
        const int r = handler.writeLogFile(o.logFile, info, &reason);
        report(LogSave::completeName(o.logFile, LoghandlerCont::kLogSuffix), r, reason);
    }
    return status;
}
