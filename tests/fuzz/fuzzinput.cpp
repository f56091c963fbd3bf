#include "fuzzinput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

uint8_t FuzzInput::u8()
{
    return atEnd() ? 0 : m_data[m_pos++];
}

uint16_t FuzzInput::u16()
{
    const uint16_t lo = u8();
    return uint16_t(lo | (u8() << 8));
}

uint32_t FuzzInput::u32()
{
    const uint32_t lo = u16();
    return lo | (uint32_t(u16()) << 16);
}

QByteArray FuzzInput::bytes(size_t n)
{
    n = std::min(n, remaining());
    QByteArray out(reinterpret_cast<const char *>(m_data + m_pos), int(n));
    m_pos += n;
    return out;
}

QByteArray FuzzInput::piece(size_t max)
{
    return bytes(std::min<size_t>(u16(), max));
}

QByteArray FuzzInput::rest()
{
    return bytes(remaining());
}

namespace fuzz {

namespace {

void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "fatal: %s\n", qPrintable(message));
        std::abort();
    }
}

// In memory where the system offers it: rewriting a file on a disk file
// system thousands of times a second waits for the disk.
QTemporaryDir &scratchDir()
{
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/korvantis-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/korvantis-fuzz-XXXXXX"));
    return dir;
}

} // namespace

void initQt()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    if (QCoreApplication::instance())
        return;
    // Lives until the process ends: the fuzzer never returns from its loop.
    static QCoreApplication *app = new QCoreApplication(argc, argv);
    (void)app;
    if (!qEnvironmentVariableIsSet("KORVANTIS_FUZZ_VERBOSE"))
        qInstallMessageHandler(quietHandler);
}

QString scratchFile(const QByteArray &bytes, const QString &name)
{
    const QString path = scratchDir().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("cannot write the scratch file", __FILE__, __LINE__);
    return path;
}

void fail(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "broken invariant at %s:%d: %s\n", file, line, what);
    std::abort();
}

} // namespace fuzz
