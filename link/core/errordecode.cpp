#include "errordecode.h"

#include <QCoreApplication>

ErrorDecode::ErrorDecode(QObject *parent)
    : QObject(parent)
{
}

QString ErrorDecode::decode(int32_t value)
{
    // The texts are translated in the "QObject" context, as they always were;
    // translation files depend on that context.
    switch (value) {
    case ERR_DATA_SIZE: return QObject::tr("incorrect data size");
    case ERR_INVALID_PARAM: return QObject::tr("invalid param");
    case ERR_NOT_SUPPORTED: return QObject::tr("not supported function/feature");
    case ERR_INVALID_CONFIG: return QObject::tr("invalid configuration");
    case ERR_RESPONSE: return QObject::tr("response error");
    case ERR_TIMEOUT: return QObject::tr("timeout happend");
    case ERR_FILE_NOT_FOUND: return QObject::tr("file not found");
    case ERR_FILE_READ: return QObject::tr("file read error");
    case ERR_FILE_WRITE: return QObject::tr("file write error");
    case ERR_INVALID_FILE: return QObject::tr("invalid file");
    case ERR_INVALID_VALUE: return QObject::tr("invalid value");
    case ERR_ALREADY_WAITING: return QObject::tr("already waiting for response");
    case ERR_DATA_NOT_SUPPORTED: return QObject::tr("not supported data selected");
    case ERR_DATA_NOT_READY: return QObject::tr("data not ready for read");
    case ERR_WRONG_SEQUENCE: return QObject::tr("wrong Sequence number");
    case ERR_ACQUISITION_RUNNING: return QObject::tr("data acquisition in progress");
    case ERR_ERROR_RESET_FAILED: return QObject::tr("error reset failed");
    default: return QCoreApplication::translate("ErrorDecode", "");
    }
}
