#include "logsave.h"

#include <QDebug>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr QFileDevice::Permissions kEveryoneReadWrite = QFileDevice::Permissions(0x6666);

} // namespace

QString LogSave::completeName(const QString &name, const QString &suffix)
{
    if (name.trimmed().isEmpty())
        return QString();
    if (name.endsWith(suffix))
        return name;
    return name + QLatin1Char('.') + suffix;
}

errorCode_e LogSave::replace(const QString &target, const std::function<bool(QIODevice &)> &write, const char *label)
{
    qDebug() << label << "access:" << QFileInfo(target).permissions();
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        qDebug() << label << "cannot be written:" << target << file.errorString();
        return ERR_INVALID_FILE;
    }
    qDebug() << "Tempfile access:" << file.permissions();
    if (!write(file)) {
        file.cancelWriting();
        file.commit();
        qDebug() << label << "not written:" << target;
        return ERR_INVALID_FILE;
    }
    if (!file.commit()) {
        qDebug() << label << "not written:" << target << file.errorString();
        return ERR_INVALID_FILE;
    }
    QFile::setPermissions(target, kEveryoneReadWrite);
    qDebug() << label << "access:" << QFileInfo(target).permissions();
    return ERR_OK;
}
