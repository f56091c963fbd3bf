#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

#include "firmwarearchive.h"

// Test files of the loader: patterns and firmware archives, usable by any
// test without the loader's transport.
namespace fixture {

// Bytes of a simple counting pattern, distinct per seed.
QByteArray pattern(int size, int seed);

// An archive with one group of `type` holding the given sections in order.
struct SectionSpec
{
    int kind;
    QByteArray bytes;
};
loader::FirmwareArchive makeArchive(int type, const QList<SectionSpec> &sections);

// A unique file path in the test program's temporary folder (removed when
// the program ends).
QString tempPath(const QString &name);

// The loader's CRC-32 of a whole number of 4-byte groups, computed bit by
// bit, independently of the loader's code.
uint32_t referenceCrc32(const QByteArray &bytes);

} // namespace fixture
