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
#include "firmwarearchive.h"

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

namespace fixture {

// Bytes of a simple counting pattern, distinct per seed.
QByteArray pattern(int size, int seed);

// An archive with one group of `type` holding the given sections in order.
struct SectionSpec
{
    int kind;
    QByteArray bytes;
};
loader::FirmwareArchive makeArchive(int type, const QList<SectionSpec> &sections);

// A unique file path in the test's temporary folder.
QString tempPath(const QString &name);

// The loader's CRC-32 of a whole number of 4-byte groups, computed bit by
// bit, independently of the loader's code.
uint32_t referenceCrc32(const QByteArray &bytes);

} // namespace fixture
