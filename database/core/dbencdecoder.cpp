#include "dbencdecoder.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QtEndian>

#include <mbedtls/platform_util.h>

#include <algorithm>
#include <memory>

#if defined(Q_OS_UNIX)
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "cataloguekeys.h"
#include "crc.h"
#include "cryptohandler.h"
#include "dbencformat.h"
#include "errordecode.h"

using namespace DbencFormat;

namespace {

// Wipes what it guards when the call ends, however it ends.
struct Wipe
{
    uint8_t *data;
    size_t size;
    ~Wipe() { mbedtls_platform_zeroize(data, size); }
};

uint32_t wordAt(const uint8_t *file, int offset)
{
    return qFromLittleEndian<quint32>(file + offset);
}

// The whole catalogue file, read into memory of this process: what is
// verified must be exactly what is decrypted, so the bytes cannot stay
// shared with the disk cache, where another writer could change them.
//
// A catalogue runs to megabytes and is read once: on Linux the memory is
// mapped on its own, in 2 MB pages where the kernel has them, so that
// filling it costs a few page faults instead of thousands (each one zeroes
// and maps a 4 kB page, and on a virtual machine may trap to the host as
// well). The mapping goes back to the system as soon as the buffer is done
// with. Elsewhere, or when the mapping fails, it is ordinary heap memory.
class FileImage
{
public:
    ~FileImage() { release(); }

    bool allocate(size_t size)
    {
        release();
        m_size = size;
#if defined(Q_OS_UNIX)
        constexpr size_t kHugePage = size_t(2) << 20;
        if (size >= kHugePage) {
            // One huge page more than needed, so that the data can start on
            // a huge page boundary; the slack before and after is given back.
            const size_t length = size + kHugePage;
            void *map = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (map != MAP_FAILED) {
                auto *start = static_cast<uint8_t *>(map);
                auto *aligned = reinterpret_cast<uint8_t *>((reinterpret_cast<uintptr_t>(start) + kHugePage - 1)
                                                            & ~uintptr_t(kHugePage - 1));
                const size_t pageSize = size_t(sysconf(_SC_PAGESIZE));
                const size_t used = (size + pageSize - 1) / pageSize * pageSize;
                if (aligned > start)
                    munmap(start, size_t(aligned - start));
                if (start + length > aligned + used)
                    munmap(aligned + used, size_t(start + length - (aligned + used)));
#if defined(MADV_HUGEPAGE)
                // Only whole huge pages: the tail stays in small pages, so
                // that no more is resident than the file needs.
                madvise(aligned, size / kHugePage * kHugePage, MADV_HUGEPAGE);
#endif
                m_data = aligned;
                m_mapped = used;
                return true;
            }
        }
#endif
        m_heap.reset(new (std::nothrow) uint8_t[size == 0 ? 1 : size]);
        m_data = m_heap.get();
        return m_data != nullptr;
    }

    uint8_t *data() const { return m_data; }
    size_t size() const { return m_size; }

    // Frees the memory at once (also done by the destructor).
    void release()
    {
#if defined(Q_OS_UNIX)
        if (m_mapped)
            munmap(m_data, m_mapped);
#endif
        m_heap.reset();
        m_data = nullptr;
        m_mapped = 0;
        m_size = 0;
    }

private:
    uint8_t *m_data = nullptr;
    size_t m_size = 0;
    size_t m_mapped = 0;  // length of the mapping, 0 when on the heap
    std::unique_ptr<uint8_t[]> m_heap;
};

// Reads the whole open file into image; false when it cannot, or when the
// file does not hold the bytes its size promised.
bool readWhole(QFile &file, FileImage &image)
{
    const qint64 size = file.size();
    if (size < 0 || !image.allocate(size_t(size)))
        return false;
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(reinterpret_cast<char *>(image.data()) + done, size - done);
        if (got <= 0)
            return false;
        done += got;
    }
    // Nothing beyond the size it had when it was measured.
    char extra;
    return file.read(&extra, 1) == 0;
}

// Plain bytes are made and written a piece at a time, so that the
// decrypted catalogue is whole only in the temporary file and the piece in
// hand stays in the processor's cache on its way there.
constexpr size_t kPlainPiece = 256 * 1024;
static_assert(kPlainPiece % CryptoHandler::kIvSize == 0, "pieces of whole AES blocks");

} // namespace

DbencDecoder::DbencDecoder(MergeFunction merge)
    : m_merge(std::move(merge))
{
}

int DbencDecoder::decryptAndVerify(const QString &path)
{
    qDebug().noquote() << path;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return ERR_FILE_NOT_FOUND;
    // Named after the catalogue file, in its folder; where that folder
    // takes no new file (an installed program's folder the user may not
    // write to), in the system's temporary folder.
    // (A file that opens but cannot take a name is no use either: the merge
    // reads it by name.)
    auto namedTemporaryFile = [](const QString &fileTemplate) {
        auto file = std::make_unique<QTemporaryFile>(fileTemplate);
        if (!file->open() || file->fileName().isEmpty())
            file.reset();
        return file;
    };
    std::unique_ptr<QTemporaryFile> plainFile = namedTemporaryFile(path);
    if (!plainFile)
        plainFile = namedTemporaryFile(QDir::temp().filePath(QStringLiteral("KorvantisCatalogue")));
    if (!plainFile)
        return ERR_FILE_NOT_FOUND;

    FileImage image;
    if (!readWhole(file, image))
        return ERR_FILE_NOT_FOUND;
    file.close();
    const uint8_t *data = image.data();
    const qint64 size = qint64(image.size());

    // Nothing is read past the end of a short file, and the decryption and
    // CRC steps only ever see whole AES blocks.
    if (size < kHeaderSize || (size - kHeaderSize) % CryptoHandler::kIvSize != 0)
        return ERR_DATA_SIZE;

    CryptoHandler crypto;
    if (crypto.seed() != ERR_OK)
        return ERR_DB_302;

    uint8_t secret[CryptoHandler::kScalarSize];
    Wipe wipeSecret{secret, sizeof secret};
    if (const int r = crypto.computeSharedSecret(data + kEphemeralKeyOffset, CatalogueKeys::kToolPrivateKey, secret);
        r != ERR_OK)
        return r;

    bool valid = false;
    if (const int r = crypto.verify(data + kSignedOffset, size_t(size - kSignedOffset), CatalogueKeys::kSignerPublicKey,
                                    data + kSignatureOffset, valid);
        r != ERR_OK)
        return r;
    if (!valid)
        return ERR_DB_307;

    if (wordAt(data, kFormatWordOffset) != kFormatWord)
        return ERR_NOT_SUPPORTED;
    const qint64 payloadLength = qint64(wordAt(data, kPayloadLengthOffset));
    if (payloadLength != size - kHeaderSize)
        return ERR_DATA_SIZE;
    if (crc32Words(data + kSignedOffset, kHeaderCrcLength) != wordAt(data, kHeaderCrcOffset))
        return ERR_INVALID_PARAM;
    if (crc32Words(data + kBodyCrcStart, uint32_t(size - kBodyCrcStart)) != wordAt(data, kBodyCrcOffset))
        return ERR_INVALID_PARAM;

    // The key block and the payload are decrypted beside the file's bytes,
    // which stay as read: only the plain copies need wiping.
    uint8_t keyBlock[kKeyBlockSize];
    Wipe wipeKeyBlock{keyBlock, sizeof keyBlock};
    if (const int r = crypto.aesDecrypt(data + kKeyBlockOffset, keyBlock, kKeyBlockSize, secret,
                                        secret + CryptoHandler::kKeySize);
        r != ERR_OK)
        return r;
    const uint8_t *key = keyBlock;
    const uint8_t *payload = data + kPayloadOffset;
    const size_t pieceSize = std::min(kPlainPiece, size_t(payloadLength));
    std::unique_ptr<uint8_t[]> piece(new (std::nothrow) uint8_t[pieceSize == 0 ? 1 : pieceSize]);
    if (!piece)
        return ERR_FILE_WRITE;
    Wipe wipePiece{piece.get(), pieceSize};
    for (size_t done = 0; done < size_t(payloadLength);) {
        const size_t length = std::min(pieceSize, size_t(payloadLength) - done);
        // In CBC each piece's IV is the last cipher block before it.
        const uint8_t *iv = done == 0 ? keyBlock + CryptoHandler::kKeySize : payload + done - CryptoHandler::kIvSize;
        if (const int r = crypto.aesDecrypt(payload + done, piece.get(), length, key, iv); r != ERR_OK)
            return r;
        if (plainFile->write(reinterpret_cast<const char *>(piece.get()), qint64(length)) != qint64(length))
            return ERR_FILE_WRITE;
        done += length;
    }
    // The whole payload is on disk before the merge reads it by name.
    if (!plainFile->flush())
        return ERR_FILE_WRITE;
    // Give the file's memory back before the merge, so that the database
    // grows into it instead of beside it.
    image.release();
    const bool mergeFailed = !m_merge || m_merge(plainFile->fileName());
    return mergeFailed ? ERR_FILE_READ : ERR_OK;
}
