#include "loaderlaunch.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>

namespace LoaderLaunch {

QString findProgram(const QString &workingDir, const QStringList &exeListing, const QString &programDir)
{
    // The dots of the versioned name match any character, as they always
    // have; the whole name must match, case-sensitive.
    static const QRegularExpression versioned(
        QRegularExpression::anchoredPattern(QStringLiteral("KorvantisLoader_Rev_\\d+.\\d+.\\d+.exe")));
    QString name = QString::fromLatin1(DefaultProgramName);
    for (const QString &entry : exeListing) {
        if (versioned.match(entry).hasMatch())
            name = entry;
    }
    const QFileInfo inWorkingDir(QDir(workingDir).absoluteFilePath(name));
    if (inWorkingDir.isFile())
        return inWorkingDir.absoluteFilePath();
    const QFileInfo beside(QDir(programDir).absoluteFilePath(QString::fromLatin1(PlainProgramName)));
    if (beside.isFile() && beside.isExecutable())
        return beside.absoluteFilePath();
    return QString();
}

QStringList arguments(const QHostAddress &target, const QHostAddress &local, const QStringList &command)
{
    return QStringList{QStringLiteral("-t"), target.toString(), QStringLiteral("-s"), local.toString()} + command;
}

int result(const QByteArray &standardOutput, QProcess::ExitStatus status, int exitCode, bool started)
{
    if (!started)
        return NotStarted;
    if (status != QProcess::NormalExit)
        return Crashed;
    const QList<QByteArray> lines = standardOutput.split('\n');
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        const QByteArray line = it->trimmed();
        if (!line.startsWith("Result: "))
            continue;
        bool ok = false;
        const int value = line.mid(8).trimmed().toInt(&ok);
        if (ok)
            return value;
    }
    // Only the low 8 bits of the loader's code survive as exit status.
    return static_cast<int8_t>(static_cast<uint8_t>(exitCode & 0xFF));
}

} // namespace LoaderLaunch
