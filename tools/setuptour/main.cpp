// Drives the real KorvantisSetup main window through the stops of its tour
// and saves a PNG of each:
//   SetupTour --unit 198.18.0.2 --out dir [--lang de] [--only name,name]
// The unit (the simulated one) must be reachable; the scale factor comes
// from "cfg.ini" in the working directory, as in the tool itself.
#include "databasecont.h"
#include "device.h"
#include "mainwindow.h"
#include "metatypes.h"
#include "scalinghandlercont.h"
#include "tour.h"
#include "tourrunner.h"
#include "translation.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLocale>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);
    registerMetaTypes();

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption unitOption(QStringLiteral("unit"), QStringLiteral("Address of the unit."),
                                        QStringLiteral("address"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Folder of the pictures."),
                                       QStringLiteral("dir"), QStringLiteral("."));
    const QCommandLineOption langOption(QStringLiteral("lang"), QStringLiteral("Language (en, de)."),
                                        QStringLiteral("language"), QStringLiteral("en"));
    const QCommandLineOption onlyOption(QStringLiteral("only"), QStringLiteral("Take only these stops."),
                                        QStringLiteral("names"));
    parser.addOptions({unitOption, outOption, langOption, onlyOption});
    parser.process(app);

    ScalingHandlerCont::instance()->loadScaling();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::AnyCountry));
    const QString language = parser.value(langOption);
    loadLanguage(QLocale(language));

    Tour tour;
    tour.unit = QHostAddress(parser.value(unitOption));
    tour.language = language;
    if (tour.unit.isNull()) {
        std::fprintf(stderr, "SetupTour: --unit needs the unit's IPv4 address\n");
        return 2;
    }
    const QDir out(parser.value(outOption));
    QDir().mkpath(out.path());
    const QStringList only = parser.value(onlyOption).split(QLatin1Char(','), Qt::SkipEmptyParts);

    // The sample catalogue beside the programs; the tour runs elsewhere.
    Databasecont::instance().setDbDirectory(QCoreApplication::applicationDirPath() +
                                            QStringLiteral("/Korvantisdbs/"));
    MainWindow window;
    tour.window = &window;
    Device::instance()->startTransport();
    window.show();

    TourRunner runner(tour, out, only);
    runner.start();
    return app.exec();
}
