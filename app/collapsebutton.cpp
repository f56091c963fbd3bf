#include "collapsebutton.h"

#include "scalinghandlercont.h"

#include <QStyle>
#include <QVariant>

#include <cmath>

CollapseButton::CollapseButton(QWidget *parent)
    : QPushButton(parent)
{
    collapsed = true;
    ScaleFactorchange(ScalingHandlerCont::instance()->getScaleFactor());
    collapseIcon = QIcon(QStringLiteral(":/gfx/Icon_Collapse.svg"));
    expandIcon = QIcon(QStringLiteral(":/gfx/Icon_Expand.svg"));
    connect(this, &QPushButton::clicked, this, &CollapseButton::buttonclicked);
    buttonclicked();
}

void CollapseButton::setCollapseWidget(QWidget *widget)
{
    if (widget)
        collapseWidget = widget;
}

void CollapseButton::ScaleFactorchange(double factor)
{
    const int k = static_cast<int>(std::lround(24.0 * factor));
    setIconSize(QSize(k, k));
}

void CollapseButton::buttonclicked()
{
    if (collapseWidget)
        collapseWidget->setVisible(collapsed);
    if (collapsed) {
        setProperty("isCollapsed", false);
        setIcon(collapseIcon);
    } else {
        setProperty("isCollapsed", true);
        setIcon(expandIcon);
    }
    collapsed = !collapsed;
    style()->unpolish(this);
    style()->polish(this);
    update();
}
