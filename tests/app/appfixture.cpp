#include "appfixture.h"

#include "scalinghandlercont.h"

#include <QDir>
#include <QFile>
#include <QMutex>

ScaleFixture::ScaleFixture(const QString &scaling)
    : dir(new QTemporaryDir)
    , previous(QDir::currentPath())
{
    QFile ini(dir->filePath(QStringLiteral("cfg.ini")));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("Scaling=" + scaling.toUtf8() + "\n");
    ini.close();
    QDir::setCurrent(dir->path());
    ScalingHandlerCont::instance()->loadScaling();
}

ScaleFixture::~ScaleFixture()
{
    QFile::remove(iniPath());
    ScalingHandlerCont::instance()->loadScaling(); // no cfg.ini: back to 1.0
    QDir::setCurrent(previous);
}

QString ScaleFixture::iniPath() const
{
    return dir->filePath(QStringLiteral("cfg.ini"));
}

namespace {

QMutex collectedMutex;
QStringList collected;
QtMessageHandler previousHandler = nullptr;

void collectWarnings(QtMsgType type, const QMessageLogContext &context, const QString &msg)
{
    // The offscreen platform's own remark about windows is no finding.
    if (type != QtDebugMsg && type != QtInfoMsg
        && !msg.contains(QLatin1String("propagateSizeHints"))) {
        QMutexLocker locker(&collectedMutex);
        collected.append(msg);
    }
    if (previousHandler)
        previousHandler(type, context, msg);
}

} // namespace

WarningCollector::WarningCollector()
{
    collected.clear();
    previousHandler = qInstallMessageHandler(collectWarnings);
}

WarningCollector::~WarningCollector()
{
    qInstallMessageHandler(previousHandler);
}

QStringList WarningCollector::messages() const
{
    QMutexLocker locker(&collectedMutex);
    return collected;
}
