#include "dbencdecoder.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QtEndian>

#include <mbedtls/platform_util.h>

#include <memory>

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

} // namespace

DbencDecoder::DbencDecoder(MergeFunction merge)
    : m_merge(std::move(merge))
{
}

int DbencDecoder::decryptAndVerify(const QString &path)
{
    qDebug().noquote() << path;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
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

    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() != file.size())
        return ERR_FILE_NOT_FOUND;
    file.close();
    uint8_t *data = reinterpret_cast<uint8_t *>(bytes.data());
    const qint64 size = bytes.size();
    Wipe wipeFile{data, size_t(size)};

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

    if (const int r = crypto.aesDecrypt(data + kKeyBlockOffset, kKeyBlockSize, secret,
                                        secret + CryptoHandler::kKeySize);
        r != ERR_OK)
        return r;
    if (const int r = crypto.aesDecrypt(data + kPayloadOffset, size_t(payloadLength), data + kKeyBlockOffset,
                                        data + kKeyBlockOffset + CryptoHandler::kKeySize);
        r != ERR_OK)
        return r;

    // The whole payload is on disk before the merge reads it by name.
    const bool written = plainFile->write(bytes.constData() + kPayloadOffset, payloadLength) == payloadLength
                         && plainFile->flush();
    if (!written)
        return ERR_FILE_WRITE;
    // The plain bytes are on disk now: wipe and free them before the merge,
    // so the database grows into that memory instead of beside it.
    mbedtls_platform_zeroize(data, size_t(size));
    wipeFile.size = 0;
    bytes = QByteArray();
    const bool mergeFailed = !m_merge || m_merge(plainFile->fileName());
    return mergeFailed ? ERR_FILE_READ : ERR_OK;
}
