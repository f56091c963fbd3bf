#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QMap>
#include <array>
#include <cstdint>

// The simulated unit's typed parameters: every id the tool reads or writes,
// with its width and a valid default.
class UnitParameterStore
{
public:
    static constexpr int kNoIndex = -1;

    // Width in bytes of a parameter's value, -1 for an unknown id. Flagged
    // scale and threshold ids (0x38+, 0x48+) count as their base id.
    static int width(uint16_t id);
    // Ids that carry an index byte after the id.
    static bool takesIndex(uint16_t id) { return id == 0x2001; }
    // The id a value is stored under (flagged ids fold onto their base).
    static uint16_t storageId(uint16_t id);
    static bool isFlaggedId(uint16_t id);

    // Resets every parameter to its default for a unit at `address`, with
    // no fieldbus module fitted.
    void reset(const QHostAddress &address, const std::array<uint8_t, 6> &mac, const QString &name);
    // The record (parameter 0x3000) that a fitted module of `networkType`
    // keeps when new: its type and the default settings of its kind (Modbus
    // time-out and word order, PROFINET station name, EtherCAT device ID,
    // POWERLINK node ID); with no module (0, 0xFFFF) type 0 and nothing of
    // a module's own.
    static QByteArray fieldbusRecord(uint16_t networkType);

    bool contains(uint16_t id, int index = kNoIndex) const;
    QByteArray value(uint16_t id, int index = kNoIndex) const;
    void setValue(uint16_t id, const QByteArray &value, int index = kNoIndex);

    // Convenience accessors of the network parameters.
    QHostAddress ipAddress() const;
    QHostAddress netmask() const;
    void setIpAddress(const QHostAddress &address);
    void setNetmask(const QHostAddress &mask);

private:
    static uint32_t key(uint16_t id, int index) { return (uint32_t(id) << 8) | uint8_t(index); }
    QMap<uint32_t, QByteArray> m_values;
};
