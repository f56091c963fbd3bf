#include "basedbselectwidget.h"

#include "databasecont.h"
#include "device.h"

BaseDBselectWidget::BaseDBselectWidget(QWidget *parent)
    : BaseDBselectWidget(Databasecont::instance(), *Device::instance()->confighandler(), parent)
{
}

BaseDBselectWidget::BaseDBselectWidget(Databasecont &container, Confighandler &config, QWidget *parent)
    : BaseWidget(parent)
    , container(container)
    , config(config)
    , db(container.database())
{
}

bool BaseDBselectWidget::selectorCheck()
{
    return true;
}
