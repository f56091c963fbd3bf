#pragma once

#include <QWidget>

// Stands in for one captioned value bar of the data page until it is built.
class ValueBar : public QWidget
{
    Q_OBJECT
public:
    explicit ValueBar(QWidget *parent = nullptr) : QWidget(parent) {}
};
