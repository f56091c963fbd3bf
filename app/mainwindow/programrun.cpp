#include "programrun.h"

#include <QDebug>

namespace ProgramRun {

int finish(int exitCode, const QString &program, const QStringList &arguments, const Starter &start)
{
    if (exitCode == kRestartCode && start) {
        if (!start(program, arguments))
            qDebug() << "restart of" << program << "failed";
    }
    return exitCode;
}

} // namespace ProgramRun
