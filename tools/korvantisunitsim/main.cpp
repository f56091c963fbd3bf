#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "metatypes.h"

#ifdef KORVANTIS_HAVE_UNITSIM
#include "unitsimmain.h"
#endif
#ifdef KORVANTIS_HAVE_BOOTSIM
#include "bootsimmain.h"
#endif

// KorvantisUnitSim [--mode unit|bootloader] [options of that mode]
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    registerMetaTypes();
    const QStringList args = app.arguments();

    QString mode = QStringLiteral("unit");
    const int modeAt = args.indexOf(QStringLiteral("--mode"));
    if (modeAt >= 0 && modeAt + 1 < args.size())
        mode = args.at(modeAt + 1);

    if (mode == QLatin1String("unit")) {
#ifdef KORVANTIS_HAVE_UNITSIM
        return runUnitSim(args);
#endif
    } else if (mode == QLatin1String("bootloader")) {
#ifdef KORVANTIS_HAVE_BOOTSIM
        return runBootloaderSim(args);
#endif
    } else {
        std::fprintf(stderr, "unknown mode: %s (use unit or bootloader)\n", qPrintable(mode));
        return 2;
    }
    std::fprintf(stderr, "mode %s is not built into this simulator\n", qPrintable(mode));
    return 2;
}
