#pragma once

#include <cstddef>
#include <cstdint>

#include <mbedtls/ctr_drbg.h>
#include <mbedtls/ecp.h>
#include <mbedtls/entropy.h>

// The handful of cryptographic operations the catalogue files need, with
// fixed algorithms and sizes: a seeded random generator, AES-256-CBC, ECDH
// and ECDSA on secp384r1, and SHA-384. Big numbers cross this interface as
// big-endian byte strings of exactly the sizes below. Every operation answers
// an errorCode_e value: 0, or one of -300 and -302 .. -307.
//
// One object serves one caller on one thread. Both library contexts live as
// long as the object and are renewed before every seeding.
class CryptoHandler
{
public:
    static constexpr size_t kKeySize = 32;        // AES-256 key
    static constexpr size_t kIvSize = 16;         // AES block and IV
    static constexpr size_t kScalarSize = 48;     // coordinates, scalars, secret, signature halves
    static constexpr size_t kPointSize = 96;      // public point: X then Y
    static constexpr size_t kSignatureSize = 96;  // r then s
    static constexpr size_t kDigestSize = 48;     // SHA-384

    CryptoHandler();
    ~CryptoHandler();
    CryptoHandler(const CryptoHandler &) = delete;
    CryptoHandler &operator=(const CryptoHandler &) = delete;

    // Renews both contexts and seeds the generator from the platform's
    // entropy, with prediction resistance on: 0 or -302.
    int seed();
    bool isSeeded() const { return m_seeded; }

    // ---- producer side
    int generateKeyIv(uint8_t *key, uint8_t *iv);
    int generateKeyPair(uint8_t *privateKey, uint8_t *publicKey);
    // The parts of a key pair as the fixed-size byte strings: 0 or -304.
    static int writePublicKey(const mbedtls_ecp_keypair &pair, uint8_t *publicKey);
    static int writePrivateKey(const mbedtls_ecp_keypair &pair, uint8_t *privateKey);
    int aesEncrypt(uint8_t *data, size_t length, const uint8_t *key, const uint8_t *iv);
    int sign(const uint8_t *data, size_t length, const uint8_t *privateKey, const uint8_t *publicKey,
             uint8_t *signature);

    // ---- reader side
    // A length that is not a multiple of 16 gives -300 and leaves the data
    // as it was; the caller's IV is never changed.
    int aesDecrypt(uint8_t *data, size_t length, const uint8_t *key, const uint8_t *iv);
    // The same from in to out (the two may be the same buffer; other than
    // that they must not overlap). A long text can be decrypted in pieces of
    // whole blocks: each piece's IV is the last cipher block before it.
    int aesDecrypt(const uint8_t *in, uint8_t *out, size_t length, const uint8_t *key, const uint8_t *iv);
    // x coordinate of privateKey times the peer point. A point off the curve
    // or a scalar out of range gives -305.
    int computeSharedSecret(const uint8_t *peerPublicKey, const uint8_t *privateKey, uint8_t *secret);
    // 0 with valid set (false also for a malformed signature), or -304..-306.
    int verify(const uint8_t *data, size_t length, const uint8_t *publicKey, const uint8_t *signature,
               bool &valid);
    static int sha384(const uint8_t *data, size_t length, uint8_t *digest);

private:
    void freeContexts();

    mbedtls_entropy_context m_entropy;
    mbedtls_ctr_drbg_context m_drbg;
    bool m_seeded = false;
};
