#include "productinfotext.h"

QString firmwareVersionText(const ProductInfoRecord &record)
{
    return QStringLiteral("%1.%2.%3")
        .arg(uint(record.firmwareMajor))
        .arg(uint(record.firmwareMinor), 2, 10, QLatin1Char('0'))
        .arg(uint(record.firmwareBuild), 5, 10, QLatin1Char('0'));
}
