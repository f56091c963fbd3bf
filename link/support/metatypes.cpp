#include "metatypes.h"

#include <QHostAddress>
#include <QMetaType>
#include <cstdint>

void registerMetaTypes()
{
    qRegisterMetaType<uint8_t>("uint8_t");
    qRegisterMetaType<int8_t>("int8_t");
    qRegisterMetaType<uint16_t>("uint16_t");
    qRegisterMetaType<int16_t>("int16_t");
    qRegisterMetaType<uint32_t>("uint32_t");
    qRegisterMetaType<int32_t>("int32_t");
    qRegisterMetaType<uint64_t>("uint64_t");
    qRegisterMetaType<int64_t>("int64_t");
    qRegisterMetaType<QHostAddress>("QHostAddress");
}
