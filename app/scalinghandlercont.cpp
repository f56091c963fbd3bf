#include "scalinghandlercont.h"

#include <QLayout>
#include <QSettings>
#include <QWidget>

#include <cmath>

namespace {

const char kScalingKey[] = "Scaling";

// Halves round upward, as layout sizes are never negative.
int scaled(int value, double factor)
{
    return static_cast<int>(std::floor(value * factor + 0.5));
}

} // namespace

ScalingHandlerCont *ScalingHandlerCont::instance()
{
    static ScalingHandlerCont handler;
    return &handler;
}

double ScalingHandlerCont::sanitizeFactor(double factor)
{
    // Written so that NaN fails the range check too.
    if (std::isfinite(factor) && factor >= kMinFactor && factor <= kMaxFactor)
        return factor;
    return kDefaultFactor;
}

double ScalingHandlerCont::readScaling(const QString &iniPath)
{
    QSettings settings(iniPath, QSettings::IniFormat);
    const QVariant raw = settings.value(QLatin1String(kScalingKey));
    if (!raw.isValid())
        return kDefaultFactor;
    // A comma makes QSettings read a list; that is no number either.
    if (raw.type() != QVariant::String && raw.type() != QVariant::Double
        && raw.type() != QVariant::Int)
        return kDefaultFactor;
    bool ok = false;
    const double value = raw.toString().trimmed().toDouble(&ok);
    if (!ok)
        return kDefaultFactor;
    return sanitizeFactor(value);
}

void ScalingHandlerCont::writeScaling(double factor, const QString &iniPath)
{
    QSettings settings(iniPath, QSettings::IniFormat);
    settings.setValue(QLatin1String(kScalingKey), factor);
    settings.sync();
}

void ScalingHandlerCont::loadScaling()
{
    scaleFactor = readScaling();
    emit scaleFactorChanged(scaleFactor);
}

void ScalingHandlerCont::scaleLayout(QWidget *widget) const
{
    scaleLayout(widget, scaleFactor);
}

void ScalingHandlerCont::scaleLayout(QWidget *widget, double factor)
{
    if (!widget)
        return;
    if (QLayout *layout = widget->layout()) {
        // -1 stands for "the style's spacing" and is left to the style.
        if (layout->spacing() >= 0)
            layout->setSpacing(scaled(layout->spacing(), factor));
        const QMargins m = layout->contentsMargins();
        layout->setContentsMargins(scaled(m.left(), factor), scaled(m.top(), factor),
                                   scaled(m.right(), factor), scaled(m.bottom(), factor));
    }
    for (QObject *child : widget->children()) {
        if (child->isWidgetType())
            scaleLayout(static_cast<QWidget *>(child), factor);
    }
}
