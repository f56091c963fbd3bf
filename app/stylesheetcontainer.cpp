#include "stylesheetcontainer.h"

#include "scalinghandlercont.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QStyle>
#include <QTextStream>
#include <QWidget>

// The resources live in this static library; they must be registered
// explicitly or the linker drops them.
static void initAppResources()
{
    Q_INIT_RESOURCE(app);
}

Stylesheetcontainer stylesheetContainer;

Stylesheetcontainer::Stylesheetcontainer()
    : sheetPath(QStringLiteral(":stylesheet.qss"))
    , variablesPath(QStringLiteral(":stylesheetVars.txt"))
{
    initAppResources();
    connect(ScalingHandlerCont::instance(), &ScalingHandlerCont::scaleFactorChanged, this,
            &Stylesheetcontainer::initStylesheet);
}

void Stylesheetcontainer::setSources(const QString &sheet, const QString &variables)
{
    sheetPath = sheet;
    variablesPath = variables;
    scaleFactor = 0.0; // the next apply rebuilds from the new sources
}

QString Stylesheetcontainer::buildStyleSheet(const QString &sheet, const QString &variables,
                                             double factor)
{
    static const QRegularExpression pointSize(QStringLiteral("[0-9]+pt"));
    static const QRegularExpression pointDigits(QStringLiteral("([0-9]+)pt"));

    QString text = sheet;
    QString vars = variables;
    QTextStream stream(&vars, QIODevice::ReadOnly);
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        const QStringList parts = line.split(QLatin1Char('='), Qt::KeepEmptyParts);
        if (parts.size() != 2)
            continue;
        QString name = parts.at(0);
        name.remove(QLatin1Char(' '));
        QString value = parts.at(1);
        const QRegularExpressionMatch m = pointDigits.match(value);
        if (m.hasMatch()) {
            const double n = m.captured(1).toDouble();
            const QString sized = QString::number(n * factor, 'g', 6) + QStringLiteral("pt");
            value.replace(pointSize, sized);
        }
        value += QLatin1Char(';');
        text.replace(QRegularExpression(name + QStringLiteral("[ ]*;")), value);
    }
    return text;
}

void Stylesheetcontainer::initStylesheet(double scalefactor)
{
    if (scalefactor == scaleFactor)
        return;
    scaleFactor = scalefactor;

    QFont font = QApplication::font();
    font.setPointSizeF(8.25 * ScalingHandlerCont::instance()->getScaleFactor());
    QApplication::setFont(font);

    styleSheet.clear();
    QFile sheetFile(sheetPath);
    QFile varsFile(variablesPath);
    if (sheetFile.open(QIODevice::ReadOnly) && varsFile.open(QIODevice::ReadOnly)) {
        // fromLatin1 on the raw data stops at a NUL byte, if there is one.
        const QByteArray sheetBytes = sheetFile.readAll();
        const QString sheet = QString::fromLatin1(sheetBytes.constData());
        const QString vars = QString::fromUtf8(varsFile.readAll());
        styleSheet = buildStyleSheet(sheet, vars, scalefactor);
    }
    emit Stylesheetchanged(scalefactor);
}

void Stylesheetcontainer::applyStylesheet(QWidget *widget)
{
    if (!widget)
        return;
    initStylesheet(ScalingHandlerCont::instance()->getScaleFactor());
    // Clearing first makes an identical text take effect again.
    widget->setStyleSheet(QString());
    widget->setStyleSheet(styleSheet);
    QStyle *style = widget->style();
    style->unpolish(widget);
    style->polish(widget);
    for (QObject *child : widget->children()) {
        if (child->isWidgetType()) {
            QWidget *w = static_cast<QWidget *>(child);
            style->unpolish(w);
            style->polish(w);
        }
    }
}
