#pragma once

#include <QWidget>

// Stands in for the curve graph of the data page until it is built.
class LineGraph : public QWidget
{
    Q_OBJECT
public:
    explicit LineGraph(QWidget *parent = nullptr) : QWidget(parent) {}

public slots:
    virtual void clearData() {}
    virtual void invalidate() {}
};
