// Shows a stack of two notification bars (a success and an error entry) over
// an open message box, as the main window would, and optionally saves a
// picture of the window:  ShellPreview [--scale F] [--lang de] [--out file.png]

#include "custommessagebox.h"
#include "notificationbar.h"
#include "scalinghandlercont.h"
#include "stylesheetcontainer.h"
#include "translation.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Save a PNG and quit."),
                                 QStringLiteral("file"));
    QCommandLineOption langOption(QStringLiteral("lang"), QStringLiteral("Language code."),
                                  QStringLiteral("code"), QStringLiteral("en"));
    parser.addOption(outOption);
    parser.addOption(langOption);
    parser.process(app);

    ScalingHandlerCont::instance()->loadScaling(); // cfg.ini of the working directory
    switchTranslator(parser.value(langOption));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Service Setup Tool Korvantis - shell preview"));
    window.setProperty("isConfigPage", true);
    window.setAttribute(Qt::WA_StyledBackground, true);
    stylesheetContainer.applyStylesheet(&window);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    auto *success = new NotificationBar(&window);
    auto *error = new NotificationBar(&window);
    layout->addWidget(success);
    layout->addWidget(error);
    success->showSuccess(QStringLiteral("Configuration written to the unit."), 0);
    error->showError(QStringLiteral("Read device name failed. Error: Timeout Errorcode: -1000"),
                     true, true);

    auto *dialogPage = new QWidget(&window);
    dialogPage->setProperty("isSemiTransparent", true);
    dialogPage->setAttribute(Qt::WA_StyledBackground, true);
    auto *dialogLayout = new QVBoxLayout(dialogPage);
    dialogLayout->setContentsMargins(40, 30, 40, 30);
    auto *box = new CustomMessageBox(dialogPage);
    dialogLayout->addWidget(box, 0, Qt::AlignCenter);
    layout->addWidget(dialogPage, 1);

    window.resize(900, 620);
    window.show();

    const QString out = parser.value(outOption);
    QTimer::singleShot(300, &app, [&] {
        if (out.isEmpty())
            return;
        window.grab().save(out);
        box->closeButton()->click();
    });
    QTimer::singleShot(0, box, [&] {
        const int answer = box->exec({QStringLiteral("Cancel"), QStringLiteral("Confirm")},
                                     QStringLiteral("Write configuration"),
                                     QStringLiteral("Write the changed configuration to the unit?"),
                                     2);
        qInfo("Message box answer: %d", answer);
        if (!out.isEmpty())
            app.quit();
    });
    return app.exec();
}
