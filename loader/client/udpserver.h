#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPair>
#include <cstdint>

class QUdpSocket;

namespace loader {

// Owns the loader's UDP socket on its own worker thread; reached only
// through queued signals. Every datagram sent is followed by a pause of at
// least 1 ms before the next one leaves, which paces the bootloader.
class UDPServer : public QObject
{
    Q_OBJECT
public:
    explicit UDPServer(QObject *parent = nullptr);
    ~UDPServer() override;

    QHostAddress localAddress() const;
    uint16_t localPort() const;
    static QString toHexString(const QByteArray &message);

signals:
    void messageReceivedSignal(QByteArray message, QHostAddress senderIP);
    void messageSendSignal(QByteArray message);
    void finished();
    void errorIsFallen(QString error);
    // Emitted after every binding attempt (true when bound); lets a caller
    // wait until the socket is ready.
    void bound(bool ok);

public slots:
    void sendPacketSlot(QString text, QHostAddress ip);
    void sendPacketSlot(QByteArray txDatagram, QHostAddress ip);
    void setIPSlot(QHostAddress ip);
    void runServer();
    void quitServer();
    void connected();
    void disconnected();
    void error(QAbstractSocket::SocketError socketError);
    void stateChanged(QAbstractSocket::SocketState socketState);

private slots:
    void readPending();

private:
    void ensureSocket();
    void sendNow(const QByteArray &txDatagram, const QHostAddress &ip);
    void pace();

    QUdpSocket *m_socket = nullptr;
    uint16_t m_port = 7755;
    bool m_sending = false;
    QList<QPair<QByteArray, QHostAddress>> m_backlog;
};

} // namespace loader
