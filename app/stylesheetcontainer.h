#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Builds the application style sheet from ":stylesheet.qss" (the sheet with
// @Name placeholders) and ":stylesheetVars.txt" (name = value lines) for the
// display scale factor, and sets it on single widgets. There is one global
// object, `stylesheetContainer`.
class Stylesheetcontainer : public QObject
{
    Q_OBJECT

public:
    Stylesheetcontainer();

    // The build rule as a pure function: every "@Name ;" placeholder of
    // `sheet` becomes its value from `variables`, point sizes multiplied by
    // `factor`.
    static QString buildStyleSheet(const QString &sheet, const QString &variables,
                                   double factor);

    // Sets the current sheet on `widget` and re-polishes it and its direct
    // child widgets.
    void applyStylesheet(QWidget *widget);

    const QString &currentStyleSheet() const { return styleSheet; }
    double currentScaleFactor() const { return scaleFactor; }

    // Where the sheet is read from; tests point these at missing resources.
    void setSources(const QString &sheetPath, const QString &variablesPath);

public slots:
    void initStylesheet(double scalefactor);

signals:
    void Stylesheetchanged(double factor);

private:
    double scaleFactor = 0.0;
    QString styleSheet;
    QString sheetPath;
    QString variablesPath;
};

extern Stylesheetcontainer stylesheetContainer;
