#pragma once

#include <QMetaType>
#include <cstdint>

namespace loader {

// The result of every bootloader command and file operation of the loader,
// and the loader's process exit code: 0 success, negative failures. A status
// that the bootloader reports in an error answer passes through unchanged,
// so any other int32 value can appear too.
enum errorCode_e : int32_t {
    ERR_OK = 0,
    ERR_NO_ANSWER_YET = 1,          // internal: an exchange is still waiting
    ERR_NO_TARGET = -101,
    ERR_OFFSET_LEN_REFUSED = -104,
    ERR_CHUNK_REFUSED = -105,
    ERR_NAK = -108,
    ERR_HEX_CHECKSUM = -200,
    ERR_HEX_NOT_HEX = -201,
    ERR_FILE_OPEN = -400,
    ERR_ARCHIVE_TRUNCATED = -401,
    ERR_ARCHIVE_WRITE = -402,
    ERR_SECTION_INDEX = -700,
    ERR_SECTION_EXTENT = -701,
    ERR_MUTEX_LOCK = -800,
    ERR_TIMEOUT = -1000,
    ERR_TOO_MUCH_DATA = -1001,
    ERR_BAD_CONTENT = -1003,
    ERR_HEX_BEYOND_IMAGE = -1004,
    ERR_SEVERAL_COMMANDS = -9998,   // a command line with more than one command
    ERR_MISSING_ADDRESS = -9999,
};

} // namespace loader

Q_DECLARE_METATYPE(loader::errorCode_e)
