#include "loaderfixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "loadermetatypes.h"
#include "bootprotocol.h"
#include "settle.h"

LoaderRig::LoaderRig(const QHostAddress &local)
{
    loader::registerMetaTypes();
    m_server = new loader::UDPServer;
    m_server->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::started, m_server, &loader::UDPServer::runServer);
    QObject::connect(&m_thread, &QThread::finished, m_server, &QObject::deleteLater);
    loader::EthernetHandler *h = handler();
    QObject::connect(h, &loader::EthernetHandler::sendPacketSignal, m_server,
                     qOverload<QByteArray, QHostAddress>(&loader::UDPServer::sendPacketSlot), Qt::QueuedConnection);
    QObject::connect(m_server, &loader::UDPServer::messageReceivedSignal, h,
                     &loader::EthernetHandler::handleMessageSlot, Qt::QueuedConnection);
    QSignalSpy bound(m_server, &loader::UDPServer::bound);
    m_thread.start();
    QMetaObject::invokeMethod(m_server, "setIPSlot", Qt::QueuedConnection, Q_ARG(QHostAddress, local));
    if (bound.isEmpty())
        bound.wait(5000);
    if (!bound.isEmpty())
        m_bound = bound.first().first().toBool();
}

LoaderRig::~LoaderRig()
{
    loader::EthernetHandler *h = handler();
    QObject::disconnect(h, &loader::EthernetHandler::sendPacketSignal, m_server, nullptr);
    // On a busy machine a quit can go unheard: the worker then sleeps on in
    // its event loop (seen with Qt's own loop on worker threads, whose send
    // slot runs nested event passes). Asking again wakes it.
    m_thread.quit();
    for (int i = 0; i < 300 && !m_thread.wait(100); ++i)
        m_thread.quit();
}

bool LoaderRig::unitHasReadAll(BootloaderSim &sim, int timeoutMs)
{
    // The sends wait in the transport thread's queue; this goes behind them.
    return settle::postedEventsHandled(m_server, timeoutMs) && settle::unitHasRead(&sim, sim.address(), timeoutMs);
}

namespace fixture {

QByteArray pattern(int size, int seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 7 + seed * 31 + (i >> 8)) & 0xFF);
    return b;
}

loader::FirmwareArchive makeArchive(int type, const QList<SectionSpec> &sections)
{
    loader::FirmwareArchive archive;
    loader::FirmwareArchiveHeader header;
    header.name = QStringLiteral("test image");
    header.firstHeaderValue = 1;
    header.secondHeaderValue = 2;
    archive.setHeaderInfo(header);
    for (int i = 0; i < sections.size(); ++i) {
        const SectionSpec &s = sections.at(i);
        archive.addSection(reinterpret_cast<const uint8_t *>(s.bytes.constData()), s.bytes.size(), uint8_t(s.kind),
                           QStringLiteral("section %1").arg(i));
        archive.addIndex(i);
    }
    loader::FirmwareSectionGroup group;
    group.type = type;
    group.first = 0;
    group.count = sections.size();
    archive.addGroup(group);
    return archive;
}

QString tempPath(const QString &name)
{
    // One folder for the whole test program, removed with its files when the
    // program ends.
    static QTemporaryDir dir;
    return dir.filePath(name);
}

uint32_t referenceCrc32(const QByteArray &bytes)
{
    uint32_t reg = 0;
    for (int g = 0; g + 3 < bytes.size(); g += 4) {
        for (int k = 3; k >= 0; --k) {
            reg ^= uint32_t(uint8_t(bytes.at(g + k))) << 24;
            for (int bit = 0; bit < 8; ++bit)
                reg = (reg & 0x80000000u) ? (reg << 1) ^ 0x04C11DB7u : (reg << 1);
        }
    }
    return reg;
}

} // namespace fixture

QList<BootloaderSim::Request> withoutResends(const QList<BootloaderSim::Request> &requests)
{
    QList<BootloaderSim::Request> out;
    for (const BootloaderSim::Request &r : requests) {
        const bool shortWait = r.command == loader::BootProtocol::CmdCatchLoader
                               || r.command == loader::BootProtocol::CmdReset
                               || r.command == loader::BootProtocol::CmdOffsetDataLen;
        if (shortWait && !out.isEmpty() && out.last().command == r.command && out.last().payload == r.payload
            && uint16_t(out.last().sequence + 1) == r.sequence)
            continue;
        out << r;
    }
    return out;
}

QList<uint8_t> commandsOf(const QList<BootloaderSim::Request> &requests)
{
    QList<uint8_t> out;
    for (const BootloaderSim::Request &r : withoutResends(requests))
        out << r.command;
    return out;
}
