// The More menu's About, licence and help dialogs run inside the main
// window's dialog page and leave it as they found it.
#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QScopeGuard>
#include <QToolButton>
#include <QtTest>

#include "aboutdialog.h"
#include "databasecont.h"
#include "helpbrowser.h"
#include "helpdialog.h"
#include "licensedialog.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "testnet.h"
#include "translation.h"

class TestMenuDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void runInsideTheDialogPage_data();
    void runInsideTheDialogPage();
    void helpIsNotOffered();
};

void TestMenuDialogs::initTestCase()
{
    registerMetaTypes();
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    Databasecont::instance().setMessageSink([](const QString &, const QString &) {});
}

void TestMenuDialogs::runInsideTheDialogPage_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("dialogClass");
    QTest::addColumn<QString>("closeButton");
    QTest::addColumn<QString>("language");
    QTest::newRow("About") << "on_actionAbout_triggered" << "AboutDialog" << "btnClose" << "en";
    QTest::newRow("License") << "on_actionLicense_triggered" << "LicenseDialog" << "btnClose" << "en";
    QTest::newRow("Help") << "on_actionHelp_triggered" << "HelpDialog" << "pushButton" << "en";
    // The help viewer closed in German once the manual is shown, as the
    // screenshot tour does (the sanitizer tree runs this under ASan).
    QTest::newRow("Help in German") << "on_actionHelp_triggered" << "HelpDialog" << "pushButton" << "de";
}

void TestMenuDialogs::runInsideTheDialogPage()
{
    QFETCH(QString, slot);
    QFETCH(QString, dialogClass);
    QFETCH(QString, closeButton);
    QFETCH(QString, language);
    switchTranslator(language);
    const auto english = qScopeGuard([] { switchTranslator(QStringLiteral("en")); });
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget *dialogPage = part<QWidget>(&window, "pageDialog");
    QWidget *mainPage = part<QWidget>(&window, "pageMain");

    // Closed once it is shown (the help viewer: once it shows a page), or
    // after a generous wait.
    bool shownInPage = false;
    QTimer poll;
    QElapsedTimer waited;
    waited.start();
    connect(&poll, &QTimer::timeout, &window, [&] {
        QWidget *dialog = window.dialogs().empty() ? nullptr : window.dialogs().back();
        if (!dialog)
            return;
        auto *help = qobject_cast<HelpDialog *>(dialog);
        if (help && help->browser()->toPlainText().isEmpty() && waited.elapsed() < 20000)
            return;
        poll.stop();
        shownInPage = QString::fromLatin1(dialog->metaObject()->className()) == dialogClass
                      && dialog->isVisible() && dialogPage->isAncestorOf(dialog) && !mainPage->isEnabled();
        dialog->findChild<QAbstractButton *>(closeButton)->click();
    });
    poll.start(10);
    QVERIFY(QMetaObject::invokeMethod(&window, qPrintable(slot)));
    QVERIFY(shownInPage);
    QVERIFY(window.dialogs().empty());
    QVERIFY(mainPage->isEnabled());
    QVERIFY(dialogPage->isHidden());
}

void TestMenuDialogs::helpIsNotOffered()
{
    // The manual is read outside the tool (the README says how): the Help
    // action stays disabled and out of the menu, and F1 opens nothing.
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *help = window.findChild<QAction *>(QStringLiteral("actionHelp"));
    QVERIFY(help);
    QVERIFY(!help->isEnabled());
    QMenu *menu = part<QToolButton>(&window, "btnMore")->menu();
    QVERIFY(menu);
    QStringList offered;
    for (QAction *action : menu->actions())
        offered << action->objectName();
    QCOMPARE(offered, QStringList({QStringLiteral("actionLanguage"), QStringLiteral("actionLicense"),
                                   QStringLiteral("actionAbout"), QStringLiteral("actionScaling")}));
    QTest::keyClick(&window, Qt::Key_F1);
    QCoreApplication::processEvents();
    QVERIFY(window.dialogs().empty());
}

QTEST_MAIN(TestMenuDialogs)
#include "tst_menudialogs.moc"
