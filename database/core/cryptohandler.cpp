#include "cryptohandler.h"

#include <QDateTime>
#include <QDebug>
#include <QSysInfo>

#include <mbedtls/aes.h>
#include <mbedtls/bignum.h>
#include <mbedtls/ecdh.h>
#include <mbedtls/ecdsa.h>
#include <mbedtls/platform_util.h>
#include <mbedtls/sha512.h>

#include <cstring>

#include "errordecode.h"

namespace {

// Library objects that must be freed on every way out of an operation.
struct Mpi
{
    mbedtls_mpi v;
    Mpi() { mbedtls_mpi_init(&v); }
    ~Mpi() { mbedtls_mpi_free(&v); }
};

struct Point
{
    mbedtls_ecp_point v;
    Point() { mbedtls_ecp_point_init(&v); }
    ~Point() { mbedtls_ecp_point_free(&v); }
};

struct Group
{
    mbedtls_ecp_group v;
    Group() { mbedtls_ecp_group_init(&v); }
    ~Group() { mbedtls_ecp_group_free(&v); }
    bool load() { return mbedtls_ecp_group_load(&v, MBEDTLS_ECP_DP_SECP384R1) == 0; }
};

struct Aes
{
    mbedtls_aes_context v;
    Aes() { mbedtls_aes_init(&v); }
    ~Aes() { mbedtls_aes_free(&v); }
};

// X then Y of a public point into an affine point (Z = 1).
int readPoint(const uint8_t *publicKey, mbedtls_ecp_point &point)
{
    if (mbedtls_mpi_read_binary(&point.X, publicKey, CryptoHandler::kScalarSize) != 0
        || mbedtls_mpi_read_binary(&point.Y, publicKey + CryptoHandler::kScalarSize, CryptoHandler::kScalarSize) != 0) {
        qDebug() << " mbedtls_mpi_read_binary failed";
        return ERR_DB_305;
    }
    if (mbedtls_mpi_lset(&point.Z, 1) != 0) {
        qDebug() << " mbedtls_mpi_lset failed";
        return ERR_DB_305;
    }
    return ERR_OK;
}

int aesCbc(int mode, const uint8_t *in, uint8_t *out, size_t length, const uint8_t *key, const uint8_t *iv)
{
    // Checked first, so that a refused length leaves the data untouched.
    if (length % CryptoHandler::kIvSize != 0)
        return ERR_DB_300;
    if (length == 0)
        return ERR_OK;
    Aes aes;
    const int keyResult = mode == MBEDTLS_AES_DECRYPT ? mbedtls_aes_setkey_dec(&aes.v, key, 256)
                                                      : mbedtls_aes_setkey_enc(&aes.v, key, 256);
    if (keyResult != 0)
        return ERR_DB_303;
    uint8_t localIv[CryptoHandler::kIvSize];
    std::memcpy(localIv, iv, sizeof localIv);
    // In place too: each block is copied aside before it is overwritten.
    const int result = mbedtls_aes_crypt_cbc(&aes.v, mode, length, localIv, in, out);
    mbedtls_platform_zeroize(localIv, sizeof localIv);
    return result == 0 ? ERR_OK : ERR_DB_300;
}

} // namespace

CryptoHandler::CryptoHandler()
{
    mbedtls_entropy_init(&m_entropy);
    mbedtls_ctr_drbg_init(&m_drbg);
}

CryptoHandler::~CryptoHandler()
{
    freeContexts();
}

void CryptoHandler::freeContexts()
{
    mbedtls_ctr_drbg_free(&m_drbg);
    mbedtls_entropy_free(&m_entropy);
    m_seeded = false;
}

int CryptoHandler::seed()
{
    freeContexts();
    mbedtls_entropy_init(&m_entropy);
    mbedtls_ctr_drbg_init(&m_drbg);

    // Personalisation: what tells this machine and moment apart from others.
    const QByteArray personal = (QSysInfo::machineHostName() + QSysInfo::kernelType()
                                 + QSysInfo::buildCpuArchitecture()
                                 + QDateTime::currentDateTime().toString(Qt::TextDate))
                                    .toUtf8();
    mbedtls_ctr_drbg_set_prediction_resistance(&m_drbg, MBEDTLS_CTR_DRBG_PR_ON);
    if (mbedtls_ctr_drbg_seed(&m_drbg, mbedtls_entropy_func, &m_entropy,
                              reinterpret_cast<const unsigned char *>(personal.constData()),
                              size_t(personal.size()))
        != 0)
        return ERR_DB_302;
    m_seeded = true;
    return ERR_OK;
}

int CryptoHandler::generateKeyIv(uint8_t *key, uint8_t *iv)
{
    if (seed() != ERR_OK)
        return ERR_DB_302;
    if (mbedtls_ctr_drbg_random(&m_drbg, key, kKeySize) != 0 || mbedtls_ctr_drbg_random(&m_drbg, iv, kIvSize) != 0)
        return ERR_DB_302;
    return ERR_OK;
}

int CryptoHandler::writePublicKey(const mbedtls_ecp_keypair &pair, uint8_t *publicKey)
{
    if (mbedtls_mpi_write_binary(&pair.Q.X, publicKey, kScalarSize) != 0
        || mbedtls_mpi_write_binary(&pair.Q.Y, publicKey + kScalarSize, kScalarSize) != 0)
        return ERR_DB_304;
    return ERR_OK;
}

int CryptoHandler::writePrivateKey(const mbedtls_ecp_keypair &pair, uint8_t *privateKey)
{
    return mbedtls_mpi_write_binary(&pair.d, privateKey, kScalarSize) == 0 ? ERR_OK : ERR_DB_304;
}

int CryptoHandler::generateKeyPair(uint8_t *privateKey, uint8_t *publicKey)
{
    if (seed() != ERR_OK)
        return ERR_DB_302;
    mbedtls_ecp_keypair pair;
    mbedtls_ecp_keypair_init(&pair);
    int result = ERR_OK;
    if (mbedtls_ecp_gen_key(MBEDTLS_ECP_DP_SECP384R1, &pair, mbedtls_ctr_drbg_random, &m_drbg) != 0
        || writePrivateKey(pair, privateKey) != ERR_OK || writePublicKey(pair, publicKey) != ERR_OK)
        result = ERR_DB_305;
    mbedtls_ecp_keypair_free(&pair);
    return result;
}

int CryptoHandler::aesEncrypt(uint8_t *data, size_t length, const uint8_t *key, const uint8_t *iv)
{
    return aesCbc(MBEDTLS_AES_ENCRYPT, data, data, length, key, iv);
}

int CryptoHandler::aesDecrypt(uint8_t *data, size_t length, const uint8_t *key, const uint8_t *iv)
{
    return aesCbc(MBEDTLS_AES_DECRYPT, data, data, length, key, iv);
}

int CryptoHandler::aesDecrypt(const uint8_t *in, uint8_t *out, size_t length, const uint8_t *key, const uint8_t *iv)
{
    return aesCbc(MBEDTLS_AES_DECRYPT, in, out, length, key, iv);
}

int CryptoHandler::computeSharedSecret(const uint8_t *peerPublicKey, const uint8_t *privateKey, uint8_t *secret)
{
    // The generator drives the library's blinding of the scalar.
    if (seed() != ERR_OK)
        return ERR_DB_302;
    Group group;
    if (!group.load()) {
        qDebug() << "mbedtls_ecp_group_load failed!";
        return ERR_DB_304;
    }
    Mpi d;
    Mpi z;
    Point peer;
    if (mbedtls_mpi_read_binary(&d.v, privateKey, kScalarSize) != 0) {
        qDebug() << " mbedtls_mpi_read_binary failed";
        return ERR_DB_305;
    }
    if (const int r = readPoint(peerPublicKey, peer.v); r != ERR_OK)
        return r;
    // Checks that the point lies on the curve and the scalar is in range.
    if (mbedtls_ecdh_compute_shared(&group.v, &z.v, &peer.v, &d.v, mbedtls_ctr_drbg_random, &m_drbg) != 0) {
        qDebug() << " mbedtls_ecdh_compute_shared failed";
        return ERR_DB_305;
    }
    return mbedtls_mpi_write_binary(&z.v, secret, kScalarSize) == 0 ? ERR_OK : ERR_DB_304;
}

int CryptoHandler::sha384(const uint8_t *data, size_t length, uint8_t *digest)
{
    return mbedtls_sha512_ret(data, length, digest, 1) == 0 ? ERR_OK : ERR_DB_306;
}

int CryptoHandler::verify(const uint8_t *data, size_t length, const uint8_t *publicKey, const uint8_t *signature,
                          bool &valid)
{
    valid = false;
    Group group;
    if (!group.load())
        return ERR_DB_304;
    uint8_t digest[kDigestSize];
    if (sha384(data, length, digest) != ERR_OK)
        return ERR_DB_306;
    Mpi r;
    Mpi s;
    Point q;
    if (mbedtls_mpi_read_binary(&r.v, signature, kScalarSize) != 0
        || mbedtls_mpi_read_binary(&s.v, signature + kScalarSize, kScalarSize) != 0) {
        qDebug() << " mbedtls_mpi_read_binary failed";
        return ERR_DB_305;
    }
    if (const int result = readPoint(publicKey, q.v); result != ERR_OK)
        return result;
    valid = mbedtls_ecdsa_verify(&group.v, digest, sizeof digest, &q.v, &r.v, &s.v) == 0;
    return ERR_OK;
}

int CryptoHandler::sign(const uint8_t *data, size_t length, const uint8_t *privateKey, const uint8_t *publicKey,
                        uint8_t *signature)
{
    // An unseeded generator would give the same nonce twice, which gives the
    // private key away: seed on first use.
    if (!m_seeded && seed() != ERR_OK)
        return ERR_DB_302;
    Group group;
    if (!group.load())
        return ERR_DB_304;
    Mpi d;
    Point q;
    if (mbedtls_mpi_read_binary(&d.v, privateKey, kScalarSize) != 0) {
        qDebug() << " mbedtls_mpi_read_binary failed";
        return ERR_DB_305;
    }
    if (const int result = readPoint(publicKey, q.v); result != ERR_OK)
        return result;
    uint8_t digest[kDigestSize];
    if (sha384(data, length, digest) != ERR_OK)
        return ERR_DB_306;
    qDebug().noquote() << "hash: " + QByteArray(reinterpret_cast<const char *>(digest), sizeof digest).toHex();
    Mpi r;
    Mpi s;
    if (mbedtls_ecdsa_sign(&group.v, &r.v, &s.v, &d.v, digest, sizeof digest, mbedtls_ctr_drbg_random, &m_drbg) != 0)
        return ERR_DB_307;
    if (mbedtls_mpi_write_binary(&r.v, signature, kScalarSize) != 0
        || mbedtls_mpi_write_binary(&s.v, signature + kScalarSize, kScalarSize) != 0)
        return ERR_DB_304;
    return ERR_OK;
}
