#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Makes a fresh working directory with a "cfg.ini" holding `scaling` and
// loads the scale factor from it, as the program does at start-up. The
// directory stays current until the object dies.
class ScaleFixture
{
public:
    explicit ScaleFixture(const QString &scaling);
    ~ScaleFixture();
    QString iniPath() const;

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString previous;
};

// Collects Qt warnings (and worse) while it lives.
class WarningCollector
{
public:
    WarningCollector();
    ~WarningCollector();
    QStringList messages() const;
};
