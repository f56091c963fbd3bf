#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Holds the user-interface scale factor for the whole process. The factor is
// read once at start-up from "cfg.ini" and stays fixed; a new factor is
// stored by the scaling dialog and takes effect through a restart.
class ScalingHandlerCont : public QObject
{
    Q_OBJECT

public:
    static constexpr double kMinFactor = 0.5;
    static constexpr double kMaxFactor = 3.0;
    static constexpr double kDefaultFactor = 1.0;

    static ScalingHandlerCont *instance();

    // Reads "Scaling" from "cfg.ini" in the working directory, stores it and
    // emits scaleFactorChanged.
    void loadScaling();
    double getScaleFactor() const { return scaleFactor; }

    // Multiplies spacing and contents margins of the layouts of `widget` and
    // of every widget below it by the factor.
    void scaleLayout(QWidget *widget) const;
    static void scaleLayout(QWidget *widget, double factor);

    // The factor stored in an INI file under "Scaling". Anything that is not
    // a finite number within [0.5, 3.0] (missing key, unreadable file, text,
    // "nan", "1,5") gives 1.0.
    static double readScaling(const QString &iniPath = QStringLiteral("cfg.ini"));
    static double sanitizeFactor(double factor);
    static void writeScaling(double factor, const QString &iniPath = QStringLiteral("cfg.ini"));

signals:
    void scaleFactorChanged(double factor);

private:
    ScalingHandlerCont() = default;
    double scaleFactor = kDefaultFactor;
};
