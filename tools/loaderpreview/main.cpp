// Opens KorvantisLoader's window as the loader started without arguments
// does, and saves a picture of it once it is on screen:
//   LoaderPreview --out file.png [--progress TEXT]
// With --progress the window shows the progress overlay of an archive
// write (at 42 %) with TEXT, as it does while it flashes.
// The window sends nothing unless a button is pressed.

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <cstdio>

#include "loadermetatypes.h"
#include "mainwindow.h"
#include "udpserver.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Saves a picture of KorvantisLoader's window."));
    parser.addHelpOption();
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("The PNG file to write."),
                                       QStringLiteral("file"));
    parser.addOption(outOption);
    const QCommandLineOption progressOption(QStringLiteral("progress"),
                                            QStringLiteral("Show the progress overlay with this text."),
                                            QStringLiteral("text"));
    parser.addOption(progressOption);
    parser.process(app);
    if (!parser.isSet(outOption)) {
        std::fprintf(stderr, "LoaderPreview: --out is missing\n");
        return 2;
    }
    loader::registerMetaTypes();

    auto *server = new loader::UDPServer;
    QThread thread;
    server->moveToThread(&thread);
    QObject::connect(&thread, &QThread::started, server, &loader::UDPServer::runServer);
    QObject::connect(server, &loader::UDPServer::finished, &thread, &QThread::quit);
    QObject::connect(server, &loader::UDPServer::finished, server, &QObject::deleteLater);
    thread.start();

    int result = 0;
    {
        // The loader's window program: no arguments past the program name.
        char *windowArgs[] = {argv[0], nullptr};
        loader::MainWindow window(server, 1, windowArgs);
        QObject::connect(&window, &QObject::destroyed, server, &loader::UDPServer::quitServer);
        window.show();
        if (parser.isSet(progressOption))
            window.showProgress(parser.value(progressOption), 42, true);

        // Taken once the window is exposed and the events of its first
        // showing are through; a window that never shows is an error.
        QElapsedTimer waited;
        waited.start();
        QTimer poll;
        poll.setInterval(50);
        QObject::connect(&poll, &QTimer::timeout, &app, [&] {
            const bool exposed = window.windowHandle() && window.windowHandle()->isExposed();
            if (!exposed && waited.elapsed() < 10000)
                return;
            poll.stop();
            if (!exposed) {
                std::fprintf(stderr, "LoaderPreview: the window was not shown\n");
                result = 1;
            } else if (!window.grab().save(parser.value(outOption))) {
                std::fprintf(stderr, "LoaderPreview: cannot write %s\n", qPrintable(parser.value(outOption)));
                result = 1;
            }
            app.quit();
        });
        poll.start();
        app.exec();
    }
    // The server ends with the window; the thread is not left running.
    if (!thread.wait(2000)) {
        thread.quit();
        thread.wait();
    }
    return result;
}
