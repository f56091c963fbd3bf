#pragma once

#include <cstdint>

#include "ethernetframe.h"

// The single answer wait of the request engine: which command and sequence
// number the armed request expects, and whether its answer came.
class MessageWait
{
public:
    void arm(uint32_t command, uint32_t sequence);
    void disarm() { m_armed = false; }

    bool isArmed() const { return m_armed; }
    bool received() const { return m_received; }
    uint32_t command() const { return m_command; }
    uint32_t sequence() const { return m_sequence; }

    // True when the frame carries the awaited command and sequence number of
    // an armed wait, without marking anything.
    bool matches(const FrameHeader &header) const;
    // As matches(), and marks the wait as answered.
    bool matchReceived(const FrameHeader &header);

private:
    uint32_t m_command = 0;
    uint32_t m_sequence = 0;
    bool m_armed = false;
    bool m_received = false;
};
