#include <QApplication>
#include <QLocale>
#include <QMainWindow>

#include "metatypes.h"
#include "scalinghandlercont.h"
#include "stylesheetcontainer.h"
#include "translation.h"

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);
    registerMetaTypes();

    // Builds the style sheet and the application font for the stored factor.
    ScalingHandlerCont::instance()->loadScaling();
    // German number format until a user-interface language is loaded.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::AnyCountry));
    loadLanguage(QLocale::system());

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Service Setup Tool Korvantis"));
    stylesheetContainer.applyStylesheet(&window);
    window.show();
    return app.exec();
}
