#include "loaderlog.h"
#include "udpserver.h"

#include <QCoreApplication>
#include <QDebug>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include "ethernetframe.h"
#include "platform.h"
#include "waitms.h"

namespace loader {

UDPServer::UDPServer(QObject *parent) : QObject(parent), m_port(kDevicePort) {}

UDPServer::~UDPServer()
{
    if (m_socket) {
        m_socket->abort();
        m_socket->close();
        delete m_socket;
    }
}

QHostAddress UDPServer::localAddress() const { return m_socket ? m_socket->localAddress() : QHostAddress(); }

uint16_t UDPServer::localPort() const { return m_socket ? m_socket->localPort() : 0; }

QString UDPServer::toHexString(const QByteArray &message)
{
    QString out;
    for (int i = 0; i < message.size(); ++i) {
        out += QStringLiteral("%1 ").arg(uint8_t(message.at(i)), 2, 16, QLatin1Char('0')).toUpper();
        if ((i + 1) % 4 == 0)
            out += QStringLiteral("  ");
    }
    const int zero = message.indexOf('\0');
    const QString text = QString::fromUtf8(zero < 0 ? message : message.left(zero)).simplified();
    if (!text.isEmpty())
        out += QStringLiteral("   ( ") + text + QStringLiteral(" )");
    return out;
}

void UDPServer::ensureSocket()
{
    if (m_socket)
        return;
    m_socket = new QUdpSocket;
    connect(m_socket, &QUdpSocket::readyRead, this, &UDPServer::readPending);
    connect(m_socket, &QUdpSocket::connected, this, &UDPServer::connected);
    connect(m_socket, &QUdpSocket::disconnected, this, &UDPServer::disconnected);
    connect(m_socket, &QUdpSocket::errorOccurred, this, &UDPServer::error);
    connect(m_socket, &QUdpSocket::stateChanged, this, &UDPServer::stateChanged);
}

void UDPServer::runServer() { ensureSocket(); }

void UDPServer::quitServer() { emit finished(); }

void UDPServer::setIPSlot(QHostAddress ip)
{
    // A binding may be asked for before runServer has made the socket.
    ensureSocket();
    m_socket->abort();
    m_socket->close();
    if (!m_socket->bind(ip, 0)) {
        emit errorIsFallen(m_socket->errorString());
        emit bound(false);
        return;
    }
    emit bound(true);
}

void UDPServer::sendPacketSlot(QString text, QHostAddress ip)
{
    const QByteArray bytes = text.toUtf8();
    qCDebug(lcLoader) << "sent message " << bytes;
    sendPacketSlot(bytes, ip);
}

void UDPServer::sendPacketSlot(QByteArray txDatagram, QHostAddress ip)
{
    if (txDatagram.isEmpty()) {
        qCDebug(lcLoader) << "Comm error: Empty Message!";
        return;
    }
    // The pause after a datagram keeps processing events, so a further send
    // can arrive inside it; it waits its turn rather than cutting the pause.
    if (m_sending) {
        m_backlog.append(qMakePair(txDatagram, ip));
        return;
    }
    m_sending = true;
    sendNow(txDatagram, ip);
    while (!m_backlog.isEmpty()) {
        const auto next = m_backlog.takeFirst();
        sendNow(next.first, next.second);
    }
    m_sending = false;
}

void UDPServer::sendNow(const QByteArray &txDatagram, const QHostAddress &ip)
{
    ensureSocket();
    if (m_socket->state() == QAbstractSocket::UnconnectedState) {
        // An IPv4-only binding, so answers come back with plain IPv4 sender
        // addresses (a dual-stack socket would report mapped IPv6 forms).
        m_socket->bind(QHostAddress(QHostAddress::AnyIPv4), 0);
    }
    qint64 written = m_socket->writeDatagram(txDatagram, ip, m_port);
    while (written != txDatagram.size() && written != -1) {
        qCDebug(lcLoader) << "Comm error: " << written << " Länge soll:" << txDatagram.size();
        written = m_socket->writeDatagram(txDatagram, ip, m_port);
    }
    if (written == -1) {
        qCDebug(lcLoader) << "Comm error: " << written << " Länge soll:" << txDatagram.size() << m_socket->errorString();
        waitMs(20);
        pace();
        return;
    }
    emit messageSendSignal(txDatagram);
    pace();
}

void UDPServer::pace()
{
    // At least one whole millisecond: waitMs counts in whole clock
    // milliseconds, which can be shorter than 1 ms of real time.
    QElapsedTimer clock;
    clock.start();
    while (clock.nsecsElapsed() < 1000000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (clock.nsecsElapsed() < 1000000)
            platform::yieldThread();
    }
}

void UDPServer::readPending()
{
    while (m_socket && m_socket->hasPendingDatagrams()) {
        qint64 size = m_socket->pendingDatagramSize();
        if (size < 0)
            size = 0;
        QByteArray buffer(int(size), '\0');
        QHostAddress sender;
        m_socket->readDatagram(buffer.data(), size, &sender);
        emit messageReceivedSignal(buffer, sender);
    }
}

void UDPServer::connected() {}
void UDPServer::disconnected() {}
void UDPServer::error(QAbstractSocket::SocketError) {}
void UDPServer::stateChanged(QAbstractSocket::SocketState) {}

} // namespace loader
