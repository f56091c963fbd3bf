#include "dialogsresources.h"

#include <QtGlobal>

void initDialogsResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(dialogs);
        Q_INIT_RESOURCE(licenses);
        return true;
    }();
    Q_UNUSED(done);
}
