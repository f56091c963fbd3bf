// Shows a stack of two notification bars (a success and an error entry) over
// an open message box, as the main window would, and optionally saves a
// picture of the window:  ShellPreview [--lang de] [--out file.png]
// The scale factor comes from "cfg.ini" in the working directory, as in the
// tool itself.

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

namespace {

// Sample texts as the pages would send them, in the preview's language, so
// that the German look (longer words) can be checked too.
struct SampleTexts
{
    QString success;
    QString error;
    QStringList buttons;
    QString title;
    QString question;
};

SampleTexts sampleTexts(const QString &language)
{
    if (language == QLatin1String("de"))
        return {QStringLiteral("Konfiguration auf die Einheit geschrieben."),
                QStringLiteral("Lesen des Gerätenamens fehlgeschlagen. Fehler: Zeitüberschreitung "
                               "Fehlercode: -1000"),
                {QStringLiteral("Abbrechen"), QStringLiteral("Bestätigen")},
                QStringLiteral("Konfiguration schreiben"),
                QStringLiteral("Die geänderte Konfiguration auf die Einheit schreiben?")};
    return {QStringLiteral("Configuration written to the unit."),
            QStringLiteral("Read device name failed. Error: Timeout Errorcode: -1000"),
            {QStringLiteral("Cancel"), QStringLiteral("Confirm")},
            QStringLiteral("Write configuration"),
            QStringLiteral("Write the changed configuration to the unit?")};
}

} // namespace

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
    const SampleTexts texts = sampleTexts(parser.value(langOption));

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
    success->showSuccess(texts.success, 0);
    error->showError(texts.error, true, true);

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
        const int answer = box->exec(texts.buttons, texts.title, texts.question, 2);
        qInfo("Message box answer: %d", answer);
        if (!out.isEmpty())
            app.quit();
    });
    return app.exec();
}
