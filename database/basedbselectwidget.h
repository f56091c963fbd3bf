#pragma once

#include <QSqlDatabase>
#include <cstdint>

#include "basewidget.h"

class Confighandler;
class Databasecont;

// Common base of the catalogue selection pages: the catalogue they query
// and the configuration model they write into. A page made by the form
// takes the process's container and the unit's configuration model.
class BaseDBselectWidget : public BaseWidget
{
    Q_OBJECT

public:
    explicit BaseDBselectWidget(QWidget *parent = nullptr);
    BaseDBselectWidget(Databasecont &container, Confighandler &config, QWidget *parent = nullptr);

    virtual bool selectorCheck();

public slots:
    // The configuration page announces the channel it shows (0..6).
    virtual void currentChannelchanged(uint8_t channel) = 0;

protected:
    Databasecont &container;
    Confighandler &config;
    QSqlDatabase *db;
};
