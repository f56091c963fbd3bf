#include "logsave.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr QFileDevice::Permissions kEveryoneReadWrite = QFileDevice::Permissions(0x6666);

QString tr(const char *text)
{
    return QCoreApplication::translate("LogSave", text);
}

// Why `target` could not be opened for writing, in the user's words; the
// system's own text only where none of the usual causes applies.
QString openFailure(const QString &target, const QString &systemText)
{
    const QFileInfo file(target);
    // The folder as the user named it (relative names stay relative).
    const QString folder = QDir::toNativeSeparators(file.path());
    const QFileInfo where(file.path());
    if (!where.exists())
        return tr("the folder %1 does not exist").arg(folder);
    if (!where.isDir())
        return tr("%1 is not a folder").arg(folder);
    if (file.isDir())
        return tr("%1 is a folder").arg(QDir::toNativeSeparators(target));
    if (file.exists() && !file.isWritable())
        return tr("no permission to write %1").arg(QDir::toNativeSeparators(target));
    // The new content is written beside the target first.
    if (!where.isWritable())
        return tr("no permission to write in the folder %1").arg(folder);
    return systemText;
}

} // namespace

QString LogSave::completeName(const QString &name, const QString &suffix)
{
    if (name.trimmed().isEmpty())
        return QString();
    if (name.endsWith(suffix))
        return name;
    return name + QLatin1Char('.') + suffix;
}

errorCode_e LogSave::replace(const QString &target, const std::function<bool(QIODevice &)> &write, const char *label,
                             QString *reason)
{
    auto fail = [&](const QString &why) {
        qDebug() << label << "not written:" << target << why;
        if (reason)
            *reason = why;
        return ERR_INVALID_FILE;
    };
    if (reason)
        reason->clear();
    qDebug() << label << "access:" << QFileInfo(target).permissions();
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return fail(openFailure(target, file.errorString()));
    qDebug() << "Tempfile access:" << file.permissions();
    if (!write(file)) {
        const QString why = file.error() != QFileDevice::NoError ? file.errorString()
                                                                 : tr("the content could not be written");
        file.cancelWriting();
        file.commit();
        return fail(why);
    }
    if (!file.commit())
        return fail(file.errorString());
    QFile::setPermissions(target, kEveryoneReadWrite);
    qDebug() << label << "access:" << QFileInfo(target).permissions();
    return ERR_OK;
}
