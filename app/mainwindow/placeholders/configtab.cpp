#include "configtab.h"

#include "selectmapping.h"
#include "selectsensor.h"

ConfigTab::ConfigTab(QWidget *parent)
    : BaseWidget(parent)
{
    wdgSensor = new SelectSensor(this);
    wdgSensor->setObjectName(QStringLiteral("wdgSensor"));
    wdgSensor->hide();
    wdgMapping = new SelectMapping(this);
    wdgMapping->setObjectName(QStringLiteral("wdgMapping"));
    wdgMapping->hide();
}

void ConfigTab::HandletilePressedSlot(int32_t)
{
}
