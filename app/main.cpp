#include <QApplication>
#include <QMainWindow>

#include "metatypes.h"

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);
    registerMetaTypes();

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Service Setup Tool Korvantis"));
    window.show();
    return app.exec();
}
