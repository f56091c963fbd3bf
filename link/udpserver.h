#pragma once

#include <atomic>
#include <QAbstractSocket>
#include <QByteArray>
#include <QHostAddress>
#include <QMutex>
#include <QObject>
#include <cstdint>

class QUdpSocket;

// Owns the device socket. Lives on the worker thread when there is more than
// one core; the handler reaches it only through queued signals.
class UDPServer : public QObject
{
    Q_OBJECT
public:
    explicit UDPServer(QObject *parent = nullptr);
    ~UDPServer() override;

    // The address and port the socket is bound to. Safe to call from the GUI
    // thread while the socket lives on the worker thread.
    QHostAddress localAddress() const;
    uint16_t localPort() const;

    bool isBound() const { return m_bound.load(); }
    // False after quitServer: datagrams handed over then are dropped.
    bool isRunning() const { return m_running; }

signals:
    void messageReceivedSignal(QByteArray message, QHostAddress senderIP);
    void messageSendSignal(QByteArray message);
    void finished();
    void errorIsFallen(QString error);

public slots:
    void sendPacketSlot(QByteArray txDatagram, QHostAddress ip);
    void setIPSlot(QHostAddress ip, uint16_t port);
    void runServer();
    void quitServer();
    // Deletes the socket on the thread it lives on; the owner calls it before
    // the worker thread ends.
    void closeSocket();
    void connected();
    void disconnected();
    void error(QAbstractSocket::SocketError socketError);
    void stateChanged(QAbstractSocket::SocketState socketState);

private slots:
    void readPendingDatagrams();

private:
    void updateLocalEndpoint();

    QUdpSocket *m_socket = nullptr;
    std::atomic<bool> m_bound{false};  // set on the worker thread, read from any
    std::atomic<bool> m_running{true};  // cleared from the GUI thread
    uint16_t m_port = 7755;

    mutable QMutex m_endpointMutex;
    QHostAddress m_localAddress;
    uint16_t m_localPort = 0;
};
