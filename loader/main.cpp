#include <QApplication>
#include <QLoggingCategory>
#include <QThread>

#include "loaderlog.h"
#include "loadermetatypes.h"
#include "mainwindow.h"
#include "platform.h"
#include "udpserver.h"

int main(int argc, char *argv[])
{
    if (argc < 2) {
        platform::freeConsole();
    } else {
        platform::useHeadlessGuiWithoutDisplay();
        // A command's texts go to standard output only; a script takes any
        // line on standard error for a failure.
        QLoggingCategory::setFilterRules(loaderlog::commandLineRules());
    }
    QApplication app(argc, argv);
    loader::registerMetaTypes();

    auto *server = new loader::UDPServer;
    auto *thread = new QThread;
    server->moveToThread(thread);
    QObject::connect(thread, &QThread::started, server, &loader::UDPServer::runServer);
    QObject::connect(server, &loader::UDPServer::finished, thread, &QThread::quit);
    QObject::connect(server, &loader::UDPServer::finished, server, &QObject::deleteLater);
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start(QThread::InheritPriority);

    int result = 0;
    {
        loader::MainWindow window(server, argc, argv);
        QObject::connect(&window, &QObject::destroyed, server, &loader::UDPServer::quitServer);
        window.show();
        result = app.exec();
    }
    thread->wait(2000);
    return result;
}
