#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>
#include <QThread>
#include <cstdint>

#include "ethernethandler.h"
#include "udpserver.h"
#include "archivefixture.h"
#include "bootloadersim.h"

// The loader's transport as the program sets it up: the UDPServer on its own
// thread, wired to the one EthernetHandler, bound to a local address.
class LoaderRig
{
public:
    explicit LoaderRig(const QHostAddress &local);
    ~LoaderRig();

    bool isBound() const { return m_bound; }
    loader::EthernetHandler *handler() const { return loader::EthernetHandler::instance(); }

    // Everything the loader handed to its transport so far has gone out and
    // `sim` has read it: a check that nothing (more) reached the bootloader
    // made after it sees it all.
    bool unitHasReadAll(BootloaderSim &sim, int timeoutMs = 20000);

private:
    loader::UDPServer *m_server = nullptr;
    QThread m_thread;
    bool m_bound = false;
};

// The commands a simulated bootloader received, in order, with a catch that
// was sent again counted once: the catch waits only 100 ms for its answer,
// so on a busy machine the loader may resend it although the first one was
// answered (late). Any other repeat stays in the list.
QList<uint8_t> commandsOf(const QList<BootloaderSim::Request> &requests);
