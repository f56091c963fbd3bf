#pragma once

#include <QString>
#include <functional>

// Checks one catalogue file (".dbenc"), decrypts its payload into a
// temporary file beside it (in the system's temporary folder when the
// catalogue's folder takes no new file) and hands that file's name to the
// merge step.
// The result is an errorCode_e value:
//    0    verified, decrypted and merged
//   -1    shorter than its header, payload not whole AES blocks, or a
//         payload length field that differs from the file size minus 288
//   -16   header or body CRC differs        -17  format word is not 0
//   -100  the file cannot be read, or the temporary file not created
//   -101  the merge step failed               -102 the temporary file not written
//   -300 .. -307  the crypto step that failed (-307: bad signature)
// No decrypted byte outlives the call: the temporary file is removed on
// every way out and the plain buffers are wiped.
class DbencDecoder
{
public:
    // Merges the plain SQLite file at the given path; true means FAILURE
    // (the container's convention).
    using MergeFunction = std::function<bool(const QString &plainFile)>;

    explicit DbencDecoder(MergeFunction merge);

    int decryptAndVerify(const QString &path);

private:
    MergeFunction m_merge;
};
