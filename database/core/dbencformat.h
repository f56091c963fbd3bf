#pragma once

#include <cstdint>

// Byte layout of a catalogue file (".dbenc"). Integers are little-endian
// u32, big numbers 48-byte big-endian on secp384r1.
//
//   0   96  ECDSA signature r||s over the SHA-384 of bytes 96..end
//   96   4  format word, 0
//   100  4  payload length N = file size - 288
//   104 32  not interpreted (covered by header CRC and signature)
//   136  4  body CRC: crc32Words over bytes 144..end
//   140  4  header CRC: crc32Words over bytes 96..139
//   144 96  the file's ephemeral ECDH public point, X then Y
//   240 48  key block, AES-256-CBC under the ECDH secret: payload key, IV
//   288  N  the SQLite database, AES-256-CBC, no padding
namespace DbencFormat {

constexpr int kSignatureOffset = 0;
constexpr int kSignedOffset = 96;
constexpr int kFormatWordOffset = 96;
constexpr int kPayloadLengthOffset = 100;
constexpr int kOpaqueOffset = 104;
constexpr int kOpaqueSize = 32;
constexpr int kBodyCrcOffset = 136;
constexpr int kHeaderCrcOffset = 140;
constexpr int kHeaderCrcLength = 44;          // bytes 96..139
constexpr int kEphemeralKeyOffset = 144;
constexpr int kKeyBlockOffset = 240;
constexpr int kKeyBlockSize = 48;             // key (32) then IV (16)
constexpr int kPayloadOffset = 288;
constexpr int kHeaderSize = kPayloadOffset;
constexpr int kBodyCrcStart = kEphemeralKeyOffset;  // covers N + 144 bytes

constexpr uint32_t kFormatWord = 0;

} // namespace DbencFormat
