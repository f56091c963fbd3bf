// Messages where the user reads them: an error raised while the connect
// dialog is open lies on top of the dimmed dialog page and takes the click
// meant for it; the status bar's channel words keep their text when the
// language changes while no unit is connected.
#include <QApplication>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "connectdialog.h"
#include "databasecont.h"
#include "device.h"
#include "ethernethandler.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "notificationbar.h"
#include "statusbar.h"
#include "testnet.h"
#include "tormaveldtbox.h"
#include "translation.h"

namespace {

// Whether a click at the centre of `widget` reaches it (or one of its
// children), and not a widget lying over it.
bool clickReaches(QWidget *widget)
{
    const QPoint centre = widget->mapToGlobal(widget->rect().center());
    QWidget *hit = QApplication::widgetAt(centre);
    return hit && (hit == widget || widget->isAncestorOf(hit)) && hit->isEnabled();
}

// A colour as drawn on a white ground.
QColor onWhite(const QColor &c)
{
    const double a = c.alphaF();
    return QColor::fromRgbF(c.redF() * a + (1 - a), c.greenF() * a + (1 - a), c.blueF() * a + (1 - a));
}

} // namespace

class TestMainWindowMessagesVeth : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void errorInConnectDialogOnTop_data();
    void errorInConnectDialogOnTop();
    void channelWordsSurviveLanguageSwitch();
    void placeholdersLookMuted();
};

void TestMainWindowMessagesVeth::initTestCase()
{
    registerMetaTypes();
    LinkTimings t;
    t.baseTimeoutMs = 300;  // the search's window
    t.heartbeatMs = 60000;
    t.watchdogMs = 60000;
    t.watchdogSingleCoreMs = 60000;
    Device::instance()->ethernetHandler()->setTimings(t);
    Device::instance()->startTransport();
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
}

void TestMainWindowMessagesVeth::errorInConnectDialogOnTop_data()
{
    QTest::addColumn<QString>("typed");  // empty: the dialog's own search
    QTest::addColumn<QString>("message");
    QTest::newRow("no unit answers") << QString() << QStringLiteral("Couldn't find any Devices. Errorcode:     -3e9");
    QTest::newRow("address typed wrong") << QStringLiteral("300.1.1.1") << QStringLiteral("Invalid IP detected.");
}

void TestMainWindowMessagesVeth::errorInConnectDialogOnTop()
{
    KORVANTIS_REQUIRE_TESTNET();  // the dialog's search broadcasts
    QFETCH(QString, typed);
    QFETCH(QString, message);

    MainWindow window;
    window.resize(1024, 768);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // A point off the screen reaches no window at all, and the offscreen
    // screen is narrower than the window: its right edge, where the bar's
    // buttons are, goes to the screen's right edge.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window.move(qMin(0, screen.right() + 1 - window.frameGeometry().width()), 0);
    QTRY_VERIFY(screen.contains(window.geometry().topRight()));
    auto *bar = part<NotificationBar>(&window, "notifyBar");

    enum class Step { Searching, Typed, Checked } step = Step::Searching;
    bool shownOnTop = false;
    bool confirmReached = false;
    bool confirmed = false;
    bool dialogStillOpen = false;
    bool markBeforeText = false;
    bool goToLogOverDialog = true;
    QString shown;
    QTimer driver;
    driver.setInterval(20);
    connect(&driver, &QTimer::timeout, &window, [&] {
        auto *dialog = window.findChild<Connectdialog *>();
        if (!dialog || !dialog->isVisible())
            return;
        auto *refresh = dialog->findChild<QToolButton *>(QStringLiteral("btnDiscoverIPs"));
        switch (step) {
        case Step::Searching:
            // The dialog's first search is over and has said so.
            if (!refresh->isEnabled() || bar->entryCount() == 0)
                return;
            if (!typed.isEmpty()) {
                auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("leditManIP"));
                edit->setFocus();
                QTest::keyClicks(edit, typed);
                QTest::keyClick(edit, Qt::Key_Return);
            }
            step = Step::Typed;
            return;
        case Step::Typed: {
            if (!bar->isVisible())
                return;
            // What the user sees: the layouts have placed the bar's parts.
            settleLayouts();
            step = Step::Checked;
            shown = bar->currentEntry().text;
            const int before = bar->entryCount();
            shownOnTop = clickReaches(bar);
            auto *confirm = bar->findChild<QPushButton *>(QStringLiteral("btnConfirm"));
            confirmReached = clickReaches(confirm);
            // Confirmed as the user does it: a click where the button shows.
            const QPoint centre = confirm->mapToGlobal(confirm->rect().center());
            if (QWidget *hit = QApplication::widgetAt(centre))
                QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFromGlobal(centre));
            confirmed = bar->entryCount() == before - 1;
            dialogStillOpen = dialog->isVisible();
            goToLogOverDialog = bar->findChild<QPushButton *>(QStringLiteral("btnGotToLog"))->isEnabled();
            // The header's state mark stands before its text, not on it.
            auto *text = dialog->findChild<QLabel *>(QStringLiteral("lblConnStatusNotConn"));
            auto *mark = dialog->findChild<QLabel *>(QStringLiteral("lblConnStatusNotConnMark"));
            markBeforeText = text && mark && mark->isVisible() && text->isVisible()
                             && mark->parentWidget() == text->parentWidget()
                             && mark->geometry().right() < text->geometry().left()
                             && mark->geometry().top() < text->geometry().bottom()
                             && text->geometry().top() < mark->geometry().bottom();
            dialog->findChild<QToolButton *>(QStringLiteral("btnClose"))->click();
            return;
        }
        case Step::Checked:
            return;
        }
    });
    driver.start();
    part<QToolButton>(&window, "btnConnectToDevice")->click();
    driver.stop();

    QCOMPARE(step, Step::Checked);
    QCOMPARE(shown, message);
    QVERIFY2(shownOnTop, "a click at the bar's centre does not reach it");
    QVERIFY2(confirmReached, "the bar's confirm button lies under the dialog page");
    QVERIFY(confirmed);
    QVERIFY(dialogStillOpen);
    QVERIFY(markBeforeText);
    // Back under the top bar of the main page, with what is left on it (and
    // its "Go to log", which over a dialog would leave the dialog behind).
    settleLayouts();
    QVERIFY(!goToLogOverDialog);
    QVERIFY(bar->findChild<QPushButton *>(QStringLiteral("btnGotToLog"))->isEnabled());
    QVERIFY(!window.dialogs().size());
    QVERIFY(part<QWidget>(&window, "pageMain")->isAncestorOf(bar));
    QCOMPARE(bar->isVisible(), bar->entryCount() > 0);
    if (bar->entryCount() > 0)
        QVERIFY(clickReaches(bar));
}

void TestMainWindowMessagesVeth::channelWordsSurviveLanguageSwitch()
{
    MainWindow window;
    window.resize(1024, 768);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *status = window.findChild<StatusBar *>();
    QVERIFY(status);
    for (const char *language : {"de", "en", "de", "en"}) {
        switchTranslator(QString::fromLatin1(language));
        settleLayouts();
        for (int n = 0; n < StatusBar::kChannels; ++n)
            QVERIFY2(status->channelStateLabel(n)->text() == QLatin1String("---"),
                     qPrintable(QStringLiteral("%1: channel %2 shows \"%3\"")
                                    .arg(QLatin1String(language))
                                    .arg(n + 1)
                                    .arg(status->channelStateLabel(n)->text())));
        // Without a link the bar's own words follow the language.
        QCOMPARE(part<QLabel>(&window, "lblStatusError")->text(),
                 QCoreApplication::translate("StatusBar", "No Errors"));
    }
    QCOMPARE(part<QLabel>(&window, "lblstatustxt")->text(), QStringLiteral("Not connected"));
}

void TestMainWindowMessagesVeth::placeholdersLookMuted()
{
    MainWindow window;
    window.resize(1024, 768);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The fieldbus page's empty fields and the connect dialog's manual
    // address, in the window's style sheet.
    Connectdialog dialog(&window);
    QList<QLineEdit *> edits;
    for (const char *name : {"leditDomainName", "leditSMTPUser", "leditSMTPPassword", "leditSMTPServer"})
        edits << part<QLineEdit>(&window, name);
    edits << dialog.findChild<QLineEdit *>(QStringLiteral("leditManIP"));
    for (QLineEdit *edit : edits) {
        auto *box = qobject_cast<TormaveldtBox *>(edit->parentWidget());
        QVERIFY(box);
        box->grab();  // its first paint puts the title into its fields
        edit->clear();
        const QString title = box->storedTitleText();
        QCOMPARE(edit->placeholderText(), title);
        const QColor text = onWhite(edit->palette().color(QPalette::Text));
        const QColor placeholder = onWhite(edit->palette().color(QPalette::PlaceholderText));
        // Clearly lighter than a value: not to be taken for one.
        QVERIFY2(placeholder.lightness() >= text.lightness() + 40,
                 qPrintable(QStringLiteral("%1: placeholder %2, text %3")
                                .arg(title, placeholder.name(), text.name())));
    }
}

QTEST_MAIN(TestMainWindowMessagesVeth)
#include "tst_mainwindow_messages_veth.moc"
