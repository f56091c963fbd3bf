#pragma once

#include <cstdint>

// The two keys KorvantisSetup holds to read catalogue files: its own ECDH
// private scalar (each file's key block is agreed with it) and the public key
// of the catalogue signer. The matching counterparts belong to whoever
// produces catalogue files, never to the program.
namespace CatalogueKeys {

extern const uint8_t kToolPrivateKey[48];    // big-endian scalar on secp384r1
extern const uint8_t kSignerPublicKey[96];   // X then Y, big-endian

} // namespace CatalogueKeys
