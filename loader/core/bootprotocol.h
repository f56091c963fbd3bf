#pragma once

#include <cstdint>

namespace loader {

// The command bytes of the unit's bootloader and the fixed values its
// commands carry. The loader's EthernetHandler speaks them and the simulated
// bootloader answers them, so both take them from here.
struct BootProtocol
{
    enum Command : uint8_t {
        CmdWriteMacAndIP = 0x60,
        CmdReadFWVersion = 0x70,
        CmdReadHWVersion = 0x71,
        CmdOffsetDataLen = 0x80,
        CmdData = 0x81,
        CmdWritePage = 0x82,
        CmdWriteInfoBlock = 0x83,
        CmdCatchLoader = 0x90,
        CmdStartPayload = 0x91,
        CmdNetConfigBroadcast = 0xDF,
        CmdReset = 0xFF,
    };
    // Most data bytes one data chunk carries.
    static constexpr int kMaxChunk = 1024;
    // The byte a catch carries, and the start byte that runs the firmware.
    static constexpr uint8_t kCatchPayload = 0x08;
    static constexpr uint8_t kStartFirmwarePayload = 3;
};

} // namespace loader
