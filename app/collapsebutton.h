#pragma once

#include <QIcon>
#include <QPushButton>

// Button that shows and hides one widget, with a collapse and an expand icon
// and the style property isCollapsed. A new button starts expanded.
class CollapseButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CollapseButton(QWidget *parent = nullptr);

    // A null widget keeps the previous one.
    void setCollapseWidget(QWidget *widget);
    bool isCollapsedState() const { return collapsed; }

public slots:
    void buttonclicked();
    void ScaleFactorchange(double factor);

private:
    bool collapsed = true;
    QWidget *collapseWidget = nullptr;
    QIcon collapseIcon;
    QIcon expandIcon;
};
