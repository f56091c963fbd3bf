#include "logfilterids.h"

namespace {

QSet<int> families(std::initializer_list<int> bases)
{
    QSet<int> ids;
    ids.reserve(int(bases.size()) * 256);
    for (int nn = 0; nn <= 0xFF; ++nn)
        for (int base : bases)
            ids.insert(base | nn);
    return ids;
}

} // namespace

namespace LogFilterIds {

QSet<int> lubrication()
{
    return {0x04040080, 0x04040180};
}

QSet<int> configuration()
{
    return families({0x04010500, 0x04010A00, 0x04010B00, 0x04010C00, 0x04010D00});
}

QSet<int> errors()
{
    return families({0x04030100, 0x04030200, 0x04030300, 0x04030400, 0x04030700, 0x04030800, 0x04030900,
                     0x04030A00, 0x04030B00, 0x04030C00, 0x04030D00});
}

} // namespace LogFilterIds
