#include "signalreceiver.h"

namespace loader {

SignalReceiver::SignalReceiver(QObject *parent) : QObject(parent) {}

void SignalReceiver::expect(uint16_t sequence)
{
    m_expected = sequence;
    m_expecting = true;
    m_answered = false;
    m_state = ERR_NO_ANSWER_YET;
    m_command = 0;
    m_sequence = 0;
    m_data.clear();
}

bool SignalReceiver::takes(uint16_t sequenzNr, errorCode_e state) const
{
    // Status 1 in an error answer means "still busy, keep waiting".
    return m_expecting && !m_answered && sequenzNr == m_expected && state != ERR_NO_ANSWER_YET;
}

void SignalReceiver::receiveDataState(errorCode_e state, uint16_t sequenzNr)
{
    if (!takes(sequenzNr, state))
        return;
    m_state = state;
    m_sequence = sequenzNr;
    m_answered = true;
}

void SignalReceiver::receiveStateCmd(uint8_t cmd, errorCode_e state, uint16_t sequenzNr)
{
    if (!takes(sequenzNr, state))
        return;
    m_command = cmd;
    m_state = state;
    m_sequence = sequenzNr;
    m_answered = true;
    emit Signal_receivedData();
}

void SignalReceiver::receiveStateCmdData(uint8_t cmd, errorCode_e state, uint16_t sequenzNr, EthernetFrame frame)
{
    if (!takes(sequenzNr, state))
        return;
    m_command = cmd;
    m_state = state;
    m_sequence = sequenzNr;
    m_answered = true;
    if (state == ERR_OK)
        m_data.append(reinterpret_cast<const char *>(frame.payload()), frame.payloadLength());
    emit Signal_receivedData();
}

} // namespace loader
