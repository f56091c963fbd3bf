#include <QApplication>
#include <QLocale>
#include <QProcess>
#include <QThread>

#include "device.h"
#include "mainwindow.h"
#include "metatypes.h"
#include "programrun.h"
#include "scalinghandlercont.h"
#include "translation.h"
#include "udpserver.h"

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);
    registerMetaTypes();

    // Builds the style sheet and the application font for the stored factor.
    ScalingHandlerCont::instance()->loadScaling();
    // German number format until a user-interface language is loaded.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::AnyCountry));
    loadLanguage(QLocale::system());
    QGuiApplication::setQuitOnLastWindowClosed(true);

    int exitCode = 0;
    {
        // Builds every page and makes every connection before the worker
        // thread starts, so no datagram arrives before its handler exists.
        MainWindow window;
        Device *device = Device::instance();
        QObject::connect(&window, &QObject::destroyed, device->udpServer(), &UDPServer::quitServer);
        if (QThread::idealThreadCount() > 1)
            device->startTransport();
        window.show();
        exitCode = app.exec();
    }
    // The restarted copy gets the same arguments: Qt's own options (a
    // platform, a style) must survive the restart.
    return ProgramRun::finish(exitCode, QCoreApplication::applicationFilePath(),
                              QCoreApplication::arguments().mid(1),
                              [](const QString &program, const QStringList &arguments) {
                                  return QProcess::startDetached(program, arguments);
                              });
}
