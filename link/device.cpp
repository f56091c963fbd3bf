#include "device.h"

#include <QDebug>
#include <QMetaObject>

#include "ethernetframe.h"

Device *Device::instance()
{
    static Device device;
    return &device;
}

Device::Device(QObject *parent, int threadCount)
    : QObject(parent)
    , m_port(kDevicePort)
    , m_threadCount(threadCount > 0 ? threadCount : QThread::idealThreadCount())
{
    m_handler.setIdealThreadCount(m_threadCount);
    if (m_threadCount < 2) {
        m_server.runServer();
    } else {
        m_server.moveToThread(&m_thread);
        connect(&m_thread, &QThread::started, &m_server, &UDPServer::runServer);
    }
    connect(&m_handler, &EthernetHandler::sendPacketSignal, &m_server, &UDPServer::sendPacketSlot,
            Qt::QueuedConnection);
    connect(&m_server, &UDPServer::messageReceivedSignal, &m_handler, &EthernetHandler::handleMessageSlot,
            Qt::QueuedConnection);
    connect(this, &Device::setIPSlot, &m_server, &UDPServer::setIPSlot, Qt::QueuedConnection);
    m_config.setEthernetHandler(&m_handler);
}

Device::~Device()
{
    if (m_threadCount > 1) {
        // The socket belongs to the worker thread; delete it there.
        if (m_thread.isRunning())
            QMetaObject::invokeMethod(&m_server, &UDPServer::closeSocket, Qt::BlockingQueuedConnection);
        m_thread.quit();
        qDebug() << "waiting for thread to finish";
        m_thread.wait();
        qDebug() << "thread finished";
    }
}

void Device::startTransport()
{
    if (m_threadCount > 1 && !m_thread.isRunning())
        m_thread.start(QThread::InheritPriority);
}

void Device::currentNetworkEntrychanged(QNetworkAddressEntry entry)
{
    if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol)
        return;
    m_handler.disconnectFromDevice();
    emit setIPSlot(entry.ip(), m_port);
}
