#pragma once

#include <QByteArray>
#include <QObject>
#include <cstdint>

#include "errorcode.h"
#include "ethernetframe.h"

Q_DECLARE_METATYPE(EthernetFrame)

namespace loader {

// Collects the answer of one exchange. It sees every answer that arrives
// while it lives, but takes only the first one whose sequence number is the
// one last sent: a stray or late answer to an earlier request can neither
// end the wait nor overwrite the matching answer or add to its data.
class SignalReceiver : public QObject
{
    Q_OBJECT
public:
    explicit SignalReceiver(QObject *parent = nullptr);

    // The sequence number of the request that is now being waited for;
    // forgets any answer taken before.
    void expect(uint16_t sequence);

    errorCode_e state() const { return m_state; }
    uint8_t command() const { return m_command; }
    uint16_t sequence() const { return m_sequence; }
    bool answered() const { return m_answered; }
    const QByteArray &data() const { return m_data; }

signals:
    void Signal_receivedData();

public slots:
    void receiveDataState(loader::errorCode_e state, uint16_t sequenzNr);
    void receiveStateCmd(uint8_t cmd, loader::errorCode_e state, uint16_t sequenzNr);
    void receiveStateCmdData(uint8_t cmd, loader::errorCode_e state, uint16_t sequenzNr, EthernetFrame frame);

private:
    bool takes(uint16_t sequenzNr, errorCode_e state) const;

    uint8_t m_command = 0;
    errorCode_e m_state = ERR_NO_ANSWER_YET;
    uint16_t m_sequence = 0;
    uint16_t m_expected = 0;
    bool m_expecting = false;
    bool m_answered = false;
    QByteArray m_data;
};

} // namespace loader
