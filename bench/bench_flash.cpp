// Flashes a whole application region (0xEC000 bytes) into the simulated
// bootloader over loopback and seals a full-region Intel HEX file; prints
// the number of exchanges, the wall time and its ratio to the pacing floor
// (one datagram per millisecond). Goal: at most 1.3 times the floor.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

#include "bootloadersim.h"
// The loader's own transport (the setup tool has classes of the same names).
#include "../loader/client/ethernethandler.h"
#include "firmwarehandler.h"
#include "firmwaresealer.h"
#include "flashmap.h"
#include "intelhex.h"
#include "loadermetatypes.h"
#include "../loader/client/udpserver.h"

using loader::FirmwareHandler;
using loader::FirmwareSealer;
using loader::IntelHex;
using loader::UDPServer;
namespace flash = loader::flash;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    loader::registerMetaTypes();
    const QHostAddress unit(QStringLiteral("127.0.2.200"));

    BootloaderSim sim(unit);
    sim.setListenBroadcast(false);
    QString error;
    if (!sim.start(&error)) {
        std::fprintf(stderr, "cannot start the simulated bootloader: %s\n", qPrintable(error));
        return 1;
    }

    auto *server = new UDPServer;
    QThread thread;
    server->moveToThread(&thread);
    QObject::connect(&thread, &QThread::started, server, &UDPServer::runServer);
    QObject::connect(&thread, &QThread::finished, server, &QObject::deleteLater);
    loader::EthernetHandler *handler = loader::EthernetHandler::instance();
    QObject::connect(handler, &loader::EthernetHandler::sendPacketSignal, server,
                     qOverload<QByteArray, QHostAddress>(&UDPServer::sendPacketSlot), Qt::QueuedConnection);
    QObject::connect(server, &UDPServer::messageReceivedSignal, handler, &loader::EthernetHandler::handleMessageSlot,
                     Qt::QueuedConnection);
    bool isBound = false;
    QEventLoop waitBound;
    QObject::connect(server, &UDPServer::bound, &waitBound, [&](bool ok) {
        isBound = ok;
        waitBound.quit();
    });
    QTimer::singleShot(5000, &waitBound, &QEventLoop::quit);
    thread.start();
    QMetaObject::invokeMethod(server, "setIPSlot", Qt::QueuedConnection, Q_ARG(QHostAddress, unit));
    waitBound.exec();
    if (!isBound) {
        std::fprintf(stderr, "the loader socket did not bind\n");
        return 1;
    }
    handler->setTargetIP(unit);

    const int size = int(flash::kEnd - flash::kApplicationStart);
    QByteArray image(size, '\0');
    for (int i = 0; i < size; ++i)
        image[i] = char((i * 13 + (i >> 10)) & 0xFF);

    FirmwareHandler flasher(handler);
    QElapsedTimer clock;
    clock.start();
    const loader::errorCode_e result = flasher.writePagedImage(image, flash::kTypeApplication, flash::kApplicationStart);
    const qint64 ms = clock.elapsed();
    const int exchanges = sim.requests().size();
    const bool same = sim.readFlash(flash::kApplicationStart, size) == image;
    std::printf("flash 0x%X bytes: result %d, flash %s\n", size, int(result), same ? "matches" : "DIFFERS");
    std::printf("exchanges: %d, wall time: %lld ms, pacing floor: %d ms, ratio: %.2f (goal <= 1.30)\n", exchanges,
                static_cast<long long>(ms), exchanges, exchanges ? double(ms) / exchanges : 0.0);

    QTemporaryDir dir;
    const QString hex = dir.filePath(QStringLiteral("full.hex"));
    IntelHex::writeFile(flash::kApplicationStart, reinterpret_cast<const uint8_t *>(image.constData()), uint32_t(size),
                        hex);
    clock.restart();
    const loader::errorCode_e sealed = FirmwareSealer::sealHexFile(hex);
    std::printf("seal full-region HEX file: result %d, %lld ms\n", int(sealed), static_cast<long long>(clock.elapsed()));

    thread.quit();
    thread.wait();
    return result == loader::ERR_OK && sealed == loader::ERR_OK && same ? 0 : 1;
}
