#include "udpserver.h"

#include <QDebug>
#include <QMutexLocker>
#include <QUdpSocket>

#include "ethernetframe.h"
#include "waitms.h"

UDPServer::UDPServer(QObject *parent)
    : QObject(parent)
    , m_port(kDevicePort)
{
}

UDPServer::~UDPServer()
{
    closeSocket();
}

void UDPServer::closeSocket()
{
    if (!m_socket)
        return;
    m_socket->abort();
    m_socket->close();
    delete m_socket;
    m_socket = nullptr;
    m_bound = false;
    updateLocalEndpoint();
}

QHostAddress UDPServer::localAddress() const
{
    QMutexLocker lock(&m_endpointMutex);
    return m_localAddress;
}

uint16_t UDPServer::localPort() const
{
    QMutexLocker lock(&m_endpointMutex);
    return m_localPort;
}

void UDPServer::updateLocalEndpoint()
{
    QMutexLocker lock(&m_endpointMutex);
    m_localAddress = m_socket ? m_socket->localAddress() : QHostAddress();
    m_localPort = m_socket ? m_socket->localPort() : 0;
}

void UDPServer::runServer()
{
    delete m_socket;
    m_socket = new QUdpSocket();
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_bound = false;
    updateLocalEndpoint();
    // readyRead is handled directly: QUdpSocket stops reporting new datagrams
    // while one it announced is still unread, so a queued read would starve
    // the socket after the first datagram. The socket and this object share
    // their thread anyway.
    connect(m_socket, &QUdpSocket::readyRead, this, &UDPServer::readPendingDatagrams, Qt::DirectConnection);
    connect(m_socket, &QUdpSocket::connected, this, &UDPServer::connected, Qt::QueuedConnection);
    connect(m_socket, &QUdpSocket::disconnected, this, &UDPServer::disconnected, Qt::QueuedConnection);
    connect(m_socket, &QUdpSocket::errorOccurred, this,
            &UDPServer::error, Qt::QueuedConnection);
    connect(m_socket, &QUdpSocket::stateChanged, this, &UDPServer::stateChanged, Qt::QueuedConnection);
}

void UDPServer::setIPSlot(QHostAddress ip, uint16_t port)
{
    Q_UNUSED(port) // the tool binds an ephemeral port; the unit answers to it
    if (!m_socket)
        return;
    m_bound = false;
    qDebug() << "now listening on IP " << ip;
    m_socket->abort();
    m_socket->close();
    if (!m_socket->bind(ip, 0)) {
        const QString text = m_socket->errorString();
        qDebug() << "ERROR" << text;
        updateLocalEndpoint();
        emit errorIsFallen(text);
        return;
    }
    m_bound = true;
    updateLocalEndpoint();
}

void UDPServer::sendPacketSlot(QByteArray txDatagram, QHostAddress ip)
{
    // Once the program's window is gone nothing more goes out to the unit.
    if (!m_running)
        return;
    if (txDatagram.isEmpty()) {
        qDebug() << "Comm error: Empty Message!";
        return;
    }
    if (!m_socket)
        return;
    if (!m_socket->isOpen())
        m_socket->open(QIODevice::ReadWrite);
    qint64 written = 0;
    while (written != txDatagram.size()) {
        written = m_socket->writeDatagram(txDatagram, ip, m_port);
        if (written < 0) {
            // The request engine's retries cover a lost datagram.
            qDebug() << "write failed to" << ip << m_socket->errorString();
            waitMs(20);
            return;
        }
    }
    // An unbound socket binds itself on its first write; keep the endpoint
    // the connect dialog reads current.
    if (localPort() == 0)
        updateLocalEndpoint();
    emit messageSendSignal(txDatagram);
}

void UDPServer::readPendingDatagrams()
{
    if (!m_socket)
        return;
    // One datagram per notification: the socket announces the next one as
    // soon as this one is read, so datagrams that arrived together still come
    // out one by one, in arrival order. The size asked first also tells
    // whether anything is there (negative when not), so an answer costs one
    // look at the socket and one read, and no look at an empty socket.
    const qint64 size = m_socket->pendingDatagramSize();
    if (size < 0)
        return;
    // Filled by the read; no need to zero it first.
    QByteArray datagram(int(size), Qt::Uninitialized);
    QHostAddress sender;
    const qint64 read = m_socket->readDatagram(datagram.data(), size, &sender);
    if (read < 0)
        return;
    if (read != size)
        datagram.resize(int(read));
    emit messageReceivedSignal(datagram, sender);
}

void UDPServer::quitServer() { m_running = false; }

void UDPServer::connected() { qDebug() << "connected"; }

void UDPServer::disconnected() { qDebug() << "disconnected"; }

void UDPServer::error(QAbstractSocket::SocketError socketError)
{
    qDebug() << "UDPsocket broken error:" << socketError;
}

void UDPServer::stateChanged(QAbstractSocket::SocketState socketState)
{
    qDebug() << "new state: " << socketState;
}
