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

// The requests a simulated bootloader received, in order, with a resend of
// a request that waits only 100 ms for its answer (catch, reset, a page's
// offset) counted once: on a busy machine the loader may send it again
// (with the next sequence number) although the first one was answered,
// late. A resend repeats the request right before it, byte for byte. Any
// other repeat stays in the list: a command with a longer wait that comes
// twice was sent twice.
QList<BootloaderSim::Request> withoutResends(const QList<BootloaderSim::Request> &requests);
// The commands of withoutResends(requests).
QList<uint8_t> commandsOf(const QList<BootloaderSim::Request> &requests);
