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
        const int r = handler.importLogFile(o.input, &error);
        if (r != ERR_OK) {
            say(QStringLiteral("%1: %2 %3").arg(o.input, error, failure(r)));
            return 2;
        }
        if (!o.hasIdentification)
            identification = handler.deviceIdentification();
    } else {
        QFile file(o.input);
        if (!file.open(QIODevice::ReadOnly)) {
            say(QStringLiteral("%1: %2").arg(o.input, file.errorString()));
            return 2;
        }
        // Read as the log page reads the unit's log: the whole records, and
        // a cut last record left out and said.
        const int r = handler.showDeviceLog(file.readAll(), machineInfo(o, identification));
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
