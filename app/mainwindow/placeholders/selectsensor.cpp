#include "selectsensor.h"

#include "databasecont.h"

SelectSensor::SelectSensor(QWidget *parent)
    : BaseWidget(parent)
{
    connect(&Databasecont::instance(), &Databasecont::initcomplete, this,
            [this] { ready = true; }, Qt::DirectConnection);
}

void SelectSensor::currentChannelchanged(uint8_t)
{
}
