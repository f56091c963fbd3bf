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

// The loader's transport as the program sets it up: the UDPServer on its own
// thread, wired to the one EthernetHandler, bound to a local address.
class LoaderRig
{
public:
    explicit LoaderRig(const QHostAddress &local);
    ~LoaderRig();

    bool isBound() const { return m_bound; }
    loader::EthernetHandler *handler() const { return loader::EthernetHandler::instance(); }

private:
    loader::UDPServer *m_server = nullptr;
    QThread m_thread;
    bool m_bound = false;
};
