#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// Shared pieces of the fuzz targets: a reader that takes the fuzzer's bytes
// apart into fields (running dry gives zeros, never a read past the end),
// the one-time Qt set-up, scratch files, and a check that turns a broken
// promise into a crash the fuzzer keeps.
class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    bool atEnd() const { return m_pos >= m_size; }
    size_t remaining() const { return m_size - m_pos; }

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    // Up to n bytes (fewer when the input runs out).
    QByteArray bytes(size_t n);
    // A length-prefixed piece: u16 length, then that many bytes (capped at max).
    QByteArray piece(size_t max);
    QByteArray rest();

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

namespace fuzz {

// Creates the application object and silences debug and warning output,
// which would otherwise dominate the run time. Fatal messages still abort.
void initQt();

// Writes bytes to a scratch file that lives as long as the process (one per
// name) and returns its path.
QString scratchFile(const QByteArray &bytes, const QString &name = QStringLiteral("input"));

// Reports a broken invariant and aborts, so the fuzzer records the input.
[[noreturn]] void fail(const char *what, const char *file, int line);

} // namespace fuzz

#define FUZZ_CHECK(cond)                                 \
    do {                                                 \
        if (!(cond))                                     \
            ::fuzz::fail(#cond, __FILE__, __LINE__);     \
    } while (0)
