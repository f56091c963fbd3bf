#pragma once

#include <cstdint>

// SAMPLE KEYS for producing catalogue files that KorvantisSetup accepts:
// the counterparts of the keys the program holds. They are published with
// the sources, so files signed with them prove nothing about their origin;
// a shipped catalogue would be signed with a signer key kept elsewhere (and
// the program built with its public key).
namespace SampleKeys {

// The public point of the program's ECDH key pair: every file's key block is
// agreed with it.
extern const uint8_t kToolPublicKey[96];
// The catalogue signer's ECDSA key pair; its public half is the one the
// program holds.
extern const uint8_t kSignerPrivateKey[48];
extern const uint8_t (&kSignerPublicKey)[96];

} // namespace SampleKeys
