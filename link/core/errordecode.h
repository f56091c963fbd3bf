#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

// The signed result of every device request and configuration operation:
// 0 success, negative values failures. Statuses the unit reports in an error
// answer pass through unchanged, so any int32 may appear.
enum errorCode_e : int32_t {
    ERR_OK = 0,
    ERR_DATA_SIZE = -1,
    ERR_INVALID_PARAM = -16,
    ERR_NOT_SUPPORTED = -17,
    ERR_INVALID_CONFIG = -18,
    ERR_RESPONSE = -25,
    ERR_TIMEOUT = -26,
    ERR_FILE_NOT_FOUND = -100,
    ERR_FILE_READ = -101,
    ERR_FILE_WRITE = -102,
    ERR_INVALID_FILE = -103,
    ERR_DB_300 = -300,
    ERR_DB_301 = -301,
    ERR_DB_302 = -302,
    ERR_DB_303 = -303,
    ERR_DB_304 = -304,
    ERR_DB_305 = -305,
    ERR_DB_306 = -306,
    ERR_DB_307 = -307,
    ERR_INVALID_VALUE = -1001,
    ERR_ALREADY_WAITING = -1100,
    ERR_DATA_NOT_SUPPORTED = -1300,
    ERR_DATA_NOT_READY = -1301,
    ERR_WRONG_SEQUENCE = -1302,
    ERR_ACQUISITION_RUNNING = -1400,
    ERR_ERROR_RESET_FAILED = -1500,
};

// Turns a result into the short text that messages carry as %1, next to the
// number as %2 ("Read device name failed. Error: %1 Errorcode: %2").
class ErrorDecode : public QObject
{
    Q_OBJECT
public:
    explicit ErrorDecode(QObject *parent = nullptr);

    static QString decode(int32_t value);
};
