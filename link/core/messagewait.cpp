#include "messagewait.h"

#include "linklog.h"

void MessageWait::arm(uint32_t command, uint32_t sequence)
{
    m_command = command;
    m_sequence = sequence;
    m_received = false;
    m_armed = true;
}

bool MessageWait::matches(const FrameHeader &header) const
{
    return m_armed && header.command == m_command && header.sequence == m_sequence;
}

bool MessageWait::matchReceived(const FrameHeader &header)
{
    if (!matches(header))
        return false;
    m_received = true;
    qCDebug(lcLinkExchange) << "mmsgReceived = 1";
    return true;
}
