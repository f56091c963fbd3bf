#include <QApplication>
#include <QMainWindow>
#include <cstdio>

#include "metatypes.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    registerMetaTypes();
    if (argc > 1) {
        std::printf("Result: %d\n", 0);
        return 0;
    }
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("KorvantisLoader"));
    window.show();
    return app.exec();
}
