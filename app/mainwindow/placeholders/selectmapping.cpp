#include "selectmapping.h"

#include "databasecont.h"

SelectMapping::SelectMapping(QWidget *parent)
    : BaseWidget(parent)
{
    connect(&Databasecont::instance(), &Databasecont::initcomplete, this,
            [this] { ready = true; }, Qt::DirectConnection);
}

void SelectMapping::currentChannelchanged(uint8_t)
{
}
