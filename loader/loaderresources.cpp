#include "loaderresources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerLoaderResources() { Q_INIT_RESOURCE(loader); }

namespace loader {

void initResources()
{
    static const bool done = (registerLoaderResources(), true);
    Q_UNUSED(done);
}

} // namespace loader
