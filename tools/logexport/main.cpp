#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "device.h"
#include "errordecode.h"
#include "logexportoptions.h"
#include "loghandlercont.h"
#include "logsave.h"
#include "treemodel.h"

// logexport: the log page's files from a log that came by mail or from a
// unit's raw dump. Exit codes: 0 written, 1 bad command line, 2 unusable
// input, 3 a file not written.
namespace {

void say(const QString &text)
{
    std::fprintf(stderr, "logexport: %s\n", qPrintable(text));
}

QString failure(int code)
{
    return QStringLiteral("%1 (%2)").arg(ErrorDecode::decode(errorCode_e(code))).arg(code);
}

// The machine's version record as the log page writes it, with the texts
// given on the command line in place of this PC's.
VersionInfo machineInfo(const LogExportOptions &o, const ProductInfoRecord &identification)
{
    VersionInfo info(&identification);
    QStringList host = info.hostInfo();
    for (int i = 0; i < o.machine.size() && i < host.size(); ++i)
        if (!o.machine.at(i).isEmpty())
            host[i] = o.machine.at(i);
    info.setHostInfo(host);
    return info;
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

    LoghandlerCont &handler = LoghandlerCont::instance();
    TreeModel tree;
    handler.setTreeModel(&tree);

    ProductInfoRecord identification = o.identification;
    if (o.format == LogExportOptions::Format::Log) {
        QString warning;
        const int r = handler.importLogFile(o.input, &error, &warning);
        if (r != ERR_OK) {
            say(QStringLiteral("%1: %2 %3").arg(o.input, error, failure(r)));
            return 2;
        }
        // The whole records before a cut are still worth their files.
        if (!warning.isEmpty())
            say(QStringLiteral("%1: %2").arg(o.input, warning));
        if (!o.hasIdentification)
            identification = handler.deviceIdentification();
    } else {
        QFile file(o.input);
        if (!file.open(QIODevice::ReadOnly)) {
            say(QStringLiteral("%1: %2").arg(o.input, file.errorString()));
            return 2;
        }
        const QByteArray raw = file.readAll();
        if (raw.size() % LogRecord::kSize != 0) {
            say(QStringLiteral("%1: %2 bytes are no whole number of %3-byte records")
                    .arg(o.input)
                    .arg(raw.size())
                    .arg(LogRecord::kSize));
            return 2;
        }
        QVector<LogRecord> records;
        records.reserve(raw.size() / LogRecord::kSize);
        for (int at = 0; at < raw.size(); at += LogRecord::kSize)
            records << LogRecord::fromBytes(reinterpret_cast<const uint8_t *>(raw.constData()) + at);
        handler.evaluateLog(records, machineInfo(o, identification));
    }

    int status = 0;
    auto report = [&](const QString &name, int code) {
        if (code == ERR_OK) {
            std::printf("%s\n", qPrintable(name));
        } else {
            say(QStringLiteral("%1 not written: %2").arg(name, failure(code)));
            status = 3;
        }
    };
    if (!o.textFile.isEmpty())
        report(LogSave::completeName(o.textFile, LoghandlerCont::kTextSuffix), handler.writeLogText(o.textFile));
    if (!o.csvFile.isEmpty()) {
        QString name = o.csvFile;
        const int r = handler.exportCSV(name);
        if (r == ERR_OK && handler.skwHistory().isEmpty())
            say(QStringLiteral("%1 not written: the log holds no SKW values, errors or configuration changes")
                    .arg(name));
        else
            report(name, r);
    }
    if (!o.logFile.isEmpty())
        report(LogSave::completeName(o.logFile, LoghandlerCont::kLogSuffix),
               handler.writeLogFile(o.logFile, machineInfo(o, identification)));
    handler.setTreeModel(nullptr);
    return status;
}
