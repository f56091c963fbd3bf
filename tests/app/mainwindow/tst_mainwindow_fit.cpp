// The main window at its default size, as a new user first sees it: every
// state word of the status bar shows whole in the font it is drawn in (each
// scale factor, English and German), and no page, configuration page,
// language or notification makes the window larger than 1024 x 768 or than
// the screen.
#include <QAbstractItemModel>
#include <QApplication>
#include <QItemSelectionModel>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QScreen>
#include <QStackedWidget>
#include <QTreeView>
#include <QScopeGuard>
#include <QtTest>

#include "appfixture.h"
#include "configurationtile.h"
#include "configtab.h"
#include "navtreemodel.h"
#include "databasecont.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "notificationbar.h"
#include "statusbar.h"
#include "testnet.h"
#include "textfitfilter.h"
#include "translation.h"

namespace {

const QHostAddress kUnit(QStringLiteral("198.18.0.2"));

void switchLanguage(const QString &language)
{
    switchTranslator(language);
    settleLayouts();
}

// Channel n shows state (n + shift) mod 4: disabled, open, short, connected.
HearBeatMessage_t rotatedStates(int shift)
{
    HearBeatMessage_t hb;
    hb.setDeviceState(0);
    hb.fieldbus.networkType = 0xFFFF;
    for (int n = 0; n < StatusBar::kChannels; ++n) {
        const uint8_t bit = uint8_t(1u << n);
        hb.currentSkw[size_t(n)] = 40;
        switch ((n + shift) % 4) {
        case 0:
            break;
        case 1:
            hb.channelEnabled |= bit;
            hb.openCircuit |= bit;
            break;
        case 2:
            hb.channelEnabled |= bit;
            hb.shortCircuit |= bit;
            break;
        default:
            hb.channelEnabled |= bit;
            break;
        }
    }
    return hb;
}

// The words the channel state labels show now, each with what is missing
// to draw it whole in the label's own font (empty when all fit).
QStringList clippedWords(StatusBar *bar)
{
    QStringList clipped;
    for (int n = 0; n < StatusBar::kChannels; ++n) {
        QLabel *label = bar->channelStateLabel(n);
        const int needed = QFontMetrics(label->font()).horizontalAdvance(label->text());
        const int room = label->contentsRect().width();
        if (room < needed)
            clipped << QStringLiteral("channel %1 \"%2\": %3 px for %4 px")
                           .arg(n + 1)
                           .arg(label->text())
                           .arg(room)
                           .arg(needed);
    }
    return clipped;
}

// The window at its default size, linked to a unit with every channel on.
void showConnected(MainWindow &window)
{
    window.resize(1024, 768);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    HearBeatMessage_t hb;
    hb.setDeviceState(2);
    hb.channelEnabled = 0x7F;
    BoxAnswerer answerer(&window, {0});
    window.connectionsuccesfull(hb, kUnit);
}

} // namespace

class TestMainWindowFit : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void statusWordsWhole_data();
    void statusWordsWhole();
    void narrowWindowCutsWordsWithToolTip();
    void windowStaysWithinScreen();
    void configurationPagesShowWhole();
    void overviewTileTitlesWhole();

private:
    // Every state word in every channel label, then the not-connected word.
    void checkStatusWords(MainWindow &window, const QString &when);
    void checkSize(MainWindow &window, const QString &when);
};

void TestMainWindowFit::initTestCase()
{
    registerMetaTypes();
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
}

void TestMainWindowFit::cleanup()
{
    switchLanguage(QStringLiteral("en"));
}

void TestMainWindowFit::checkStatusWords(MainWindow &window, const QString &when)
{
    auto *bar = part<StatusBar>(&window, "wdgChannelStatus");
    const QString connectedWord = StatusBar::tr("connected");
    for (int shift = 0; shift < 4; ++shift) {
        HearBeatMessage_t hb = rotatedStates(shift);
        bar->connectionsuccesfull(hb, kUnit);
        settleLayouts();
        const QStringList clipped = clippedWords(bar);
        QVERIFY2(clipped.isEmpty(), qPrintable(when + QStringLiteral(": ") + clipped.join(QStringLiteral("; "))));
        for (int n = 0; n < StatusBar::kChannels; ++n)
            QCOMPARE(TextFitFilter::shownText(bar->channelStateLabel(n)), bar->channelStateLabel(n)->text());
    }
    // The words are the translated words themselves, not cut copies.
    QCOMPARE(bar->channelStateLabel(0)->text(), connectedWord);
    bar->lostconnection();
    settleLayouts();
    const QStringList clipped = clippedWords(bar);
    QVERIFY2(clipped.isEmpty(), qPrintable(when + QStringLiteral(": ") + clipped.join(QStringLiteral("; "))));
}

void TestMainWindowFit::statusWordsWhole_data()
{
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("language");
    for (const char *factor : {"0.5", "1.0", "2.0"})
        for (const char *language : {"en", "de"})
            QTest::addRow("%s %s", factor, language) << QString::fromLatin1(factor) << QString::fromLatin1(language);
}

void TestMainWindowFit::statusWordsWhole()
{
    QFETCH(QString, factor);
    QFETCH(QString, language);
    ScaleFixture scale(factor);
    switchLanguage(language);
    // The window opens at the form's size times the factor where the screen
    // has room for it (a smaller screen cuts the words, with their tips).
    const QByteArray screen = qgetenv("KORVANTIS_SCREEN");
    const auto restore = qScopeGuard([screen] { qputenv("KORVANTIS_SCREEN", screen); });
    if (factor == QLatin1String("2.0"))
        qputenv("KORVANTIS_SCREEN", "2052x1540");
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    settleLayouts();
    checkStatusWords(window, QStringLiteral("built in ") + language);
    if (QTest::currentTestFailed())
        return;

    // The other language on the same window.
    const QString other = language == QLatin1String("en") ? QStringLiteral("de") : QStringLiteral("en");
    switchLanguage(other);
    checkStatusWords(window, QStringLiteral("switched to ") + other);
}

void TestMainWindowFit::narrowWindowCutsWordsWithToolTip()
{
    ScaleFixture scale(QStringLiteral("1.0"));
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *bar = part<StatusBar>(&window, "wdgChannelStatus");
    HearBeatMessage_t hb = rotatedStates(0);
    bar->connectionsuccesfull(hb, kUnit);
    settleLayouts();
    // Room enough: every word whole, with its own tool tip only.
    for (int n = 0; n < StatusBar::kChannels; ++n) {
        QLabel *label = bar->channelStateLabel(n);
        QCOMPARE(TextFitFilter::shownText(label), label->text());
        QCOMPARE(TextFitFilter::toolTipText(label), label->toolTip());
    }

    // As narrow as the window goes: the longer words are cut with "…" and
    // shown whole in the tool tip, above what the tip says anyway.
    window.resize(window.minimumSize().width(), 768);
    settleLayouts();
    int cut = 0;
    for (int n = 0; n < StatusBar::kChannels; ++n) {
        QLabel *label = bar->channelStateLabel(n);
        const QString shown = TextFitFilter::shownText(label);
        if (shown == label->text())
            continue;
        ++cut;
        QVERIFY2(shown.endsWith(QChar(0x2026)), qPrintable(shown));
        QVERIFY2(label->text().startsWith(shown.chopped(1)), qPrintable(shown));
        QVERIFY(QFontMetrics(label->font()).horizontalAdvance(shown) <= label->contentsRect().width());
        QCOMPARE(TextFitFilter::toolTipText(label), label->text() + QLatin1Char('\n') + label->toolTip());
    }
    QVERIFY2(cut > 0, qPrintable(QStringLiteral("window %1 px wide").arg(window.width())));

    // Room again: whole again.
    window.resize(1024, 768);
    settleLayouts();
    for (int n = 0; n < StatusBar::kChannels; ++n)
        QCOMPARE(TextFitFilter::shownText(bar->channelStateLabel(n)), bar->channelStateLabel(n)->text());
}

void TestMainWindowFit::checkSize(MainWindow &window, const QString &when)
{
    settleLayouts();
    const QSize available = window.screen()->availableGeometry().size();
    const QSize bound = QSize(1024, 768).boundedTo(available);
    const QSize minimum = window.minimumSize().expandedTo(window.minimumSizeHint());
    QVERIFY2(minimum.width() <= bound.width() && minimum.height() <= bound.height(),
             qPrintable(QStringLiteral("%1: minimum %2 x %3, bound %4 x %5")
                            .arg(when)
                            .arg(minimum.width())
                            .arg(minimum.height())
                            .arg(bound.width())
                            .arg(bound.height())));
    QVERIFY2(window.width() <= 1024 && window.height() <= 768,
             qPrintable(QStringLiteral("%1: the window grew to %2 x %3").arg(when).arg(window.width()).arg(window.height())));
}

void TestMainWindowFit::windowStaysWithinScreen()
{
    ScaleFixture scale(QStringLiteral("1.0"));
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // A unit whose data page is usable, so that every tab can be visited
    // (a change of language shows the link's state anew).
    HearBeatMessage_t hb;
    hb.setDeviceState(2);
    hb.dataControl = 0x11;
    hb.runControl = 0x10;
    hb.channelEnabled = 0x7F;
    const auto heartbeat = [&] {
        BoxAnswerer answerer(&window, {0});
        window.connectionsuccesfull(hb, kUnit);
        part<StatusBar>(&window, "wdgChannelStatus")->connectionsuccesfull(hb, kUnit);
    };
    heartbeat();
    checkSize(window, QStringLiteral("at start"));

    auto *config = part<ConfigTab>(&window, "pageScrollConfig");
    auto *tree = part<QTreeView>(&window, "treeSel");
    const auto visitAll = [&](const QString &language) {
        heartbeat();
        for (const char *tab : {"btnOverview", "btnDataTab", "btnConfTab", "btnLogTab"}) {
            QPushButton *button = part<QPushButton>(&window, tab);
            QVERIFY2(button->isEnabled(), tab);
            button->click();
            checkSize(window, language + QStringLiteral(" tab ") + QString::fromLatin1(tab));
            if (QTest::currentTestFailed())
                return;
        }
        part<QPushButton>(&window, "btnConfTab")->click();
        // Every row of the navigation tree, depth first.
        QAbstractItemModel *model = config->navModel();
        QList<QModelIndex> todo{QModelIndex()};
        while (!todo.isEmpty()) {
            const QModelIndex parent = todo.takeFirst();
            for (int row = 0; row < model->rowCount(parent); ++row) {
                const QModelIndex index = model->index(row, 0, parent);
                todo << index;
                tree->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                checkSize(window, language + QStringLiteral(" configuration page ") + index.data().toString());
                if (QTest::currentTestFailed())
                    return;
            }
        }
    };
    visitAll(QStringLiteral("en"));
    if (QTest::currentTestFailed())
        return;
    switchLanguage(QStringLiteral("de"));
    visitAll(QStringLiteral("de"));
    if (QTest::currentTestFailed())
        return;
    switchLanguage(QStringLiteral("en"));
    visitAll(QStringLiteral("en again"));
    if (QTest::currentTestFailed())
        return;

    // The longest message the configuration model reports: every channel
    // without reference values, as an error entry with both buttons.
    const auto missing = [](const QString &name) {
        QStringList names;
        for (int n = 1; n <= 7; ++n)
            names << name.arg(n);
        return QStringLiteral("There were no valid Reference values found for the following channels: ")
               + names.join(QStringLiteral(" | "));
    };
    const QString typical = missing(QStringLiteral("Lubrication %1"));
    auto *bar = part<NotificationBar>(&window, "notifyBar");
    bar->showError(typical, true, true);
    checkSize(window, QStringLiteral("long error notification"));
    bar->showSuccess(typical, 0);
    checkSize(window, QStringLiteral("long success notification"));
    // At the default size it shows whole, on two lines.
    auto *label = part<QLabel>(&window, "lblSuccessMessage");
    QCOMPARE(label->text(), typical);
    QCOMPARE(TextFitFilter::shownText(label), typical);
    QCOMPARE(TextFitFilter::toolTipText(label), QString());
    // In a narrow window it takes more lines, and the bar grows to show
    // them all.
    window.resize(window.minimumSize().width(), 768);
    checkSize(window, QStringLiteral("long notification, narrow window"));
    QCOMPARE(TextFitFilter::shownText(label), typical);
    QVERIFY(bar->height() > 42);

    // Channel names as long as the unit keeps them: whole as well, never
    // widening the window.
    window.resize(1024, 768);
    const QString longest = missing(QStringLiteral("Bearing %1, lubrication point of the main drive shaft"));
    bar->showError(longest, false, true);
    checkSize(window, QStringLiteral("longest notification"));
    auto *error = part<QLabel>(&window, "lblErrorMessage");
    QCOMPARE(TextFitFilter::shownText(error), longest);

    // More than the window can spare room for: the bar grows no further
    // than that, the text is cut with "…" and whole in the tool tip.
    QStringList copies;
    for (int n = 0; n < 20; ++n)
        copies << longest;
    const QString endless = copies.join(QLatin1Char(' '));
    bar->showError(endless, false, true);
    checkSize(window, QStringLiteral("endless notification"));
    QVERIFY(TextFitFilter::shownText(error).endsWith(QChar(0x2026)));
    QCOMPARE(TextFitFilter::toolTipText(error), endless);
    // A short one after it: the bar is as low as ever.
    while (bar->entryCount() > 0)
        bar->on_btnConfirm_clicked();
    bar->showError(QStringLiteral("Short"), false, false);
    settleLayouts();
    QCOMPARE(bar->height(), 42);
    bar->on_btnConfirm_clicked();
}

// Every configuration page at the default size, in both languages: no
// button, label or field is cut at the page's right edge, and nothing needs
// a sideways scroll bar (pages scroll up and down only).
void TestMainWindowFit::configurationPagesShowWhole()
{
    ScaleFixture scale(QStringLiteral("1.0"));
    MainWindow window;
    showConnected(window);
    if (QTest::currentTestFailed())
        return;
    part<QPushButton>(&window, "btnConfTab")->click();
    auto *config = part<ConfigTab>(&window, "pageScrollConfig");
    auto *tree = part<QTreeView>(&window, "treeSel");

    // What lies beyond the right edge of the part of the page one sees.
    const auto cutWidgets = [&]() {
        QStringList cut;
        const QRect seen = config->visibleRegion().boundingRect();
        if (seen.width() < config->width())
            cut << QStringLiteral("the page is %1 px wide, %2 px are seen").arg(config->width()).arg(seen.width());
        for (QWidget *w : config->findChildren<QWidget *>()) {
            if (!w->isVisible() || tree->isAncestorOf(w) || w->visibleRegion().isEmpty())
                continue;
            if (!qobject_cast<QAbstractButton *>(w) && !qobject_cast<QLabel *>(w) && !qobject_cast<QLineEdit *>(w)
                && !qobject_cast<QComboBox *>(w))
                continue;
            const int right = w->mapTo(config, QPoint(w->width() - 1, 0)).x();
            if (right > seen.right())
                cut << QStringLiteral("%1 \"%2\" ends at %3 px, beyond %4 px")
                           .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName())
                           .arg(right)
                           .arg(seen.right());
        }
        return cut;
    };

    for (const char *language : {"en", "de"}) {
        switchLanguage(QString::fromLatin1(language));
        QAbstractItemModel *model = config->navModel();
        QList<QModelIndex> todo{QModelIndex()};
        while (!todo.isEmpty()) {
            const QModelIndex parent = todo.takeFirst();
            for (int row = 0; row < model->rowCount(parent); ++row) {
                const QModelIndex index = model->index(row, 0, parent);
                todo << index;
                tree->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                settleLayouts();
                const QStringList cut = cutWidgets();
                QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("%1, page %2: %3")
                                                       .arg(QString::fromLatin1(language), index.data().toString(),
                                                            cut.join(QStringLiteral("; ")))));
            }
        }
    }
}

// The overview's tile titles show whole at the default size in both
// languages: a word longer than a tile is wide breaks where it may.
void TestMainWindowFit::overviewTileTitlesWhole()
{
    ScaleFixture scale(QStringLiteral("1.0"));
    MainWindow window;
    showConnected(window);
    if (QTest::currentTestFailed())
        return;
    part<QPushButton>(&window, "btnOverview")->click();
    for (const char *language : {"en", "de"}) {
        switchLanguage(QString::fromLatin1(language));
        // As a fitted fieldbus module shows it.
        QVERIFY(QMetaObject::invokeMethod(&window, "showFBTileSlot"));
        settleLayouts();
        const QList<ConfigurationTile *> tiles = window.findChildren<ConfigurationTile *>();
        QSet<int> checked;
        for (ConfigurationTile *tile : tiles) {
            auto *title = tile->findChild<QLabel *>(QStringLiteral("lblTileText"));
            QVERIFY(title);
            if (tile->isHidden())
                continue; // not offered in this unit's state
            checked << tile->tileId();
            const QString shown = TextFitFilter::fit(title->text(), title->fontMetrics(),
                                                     title->contentsRect().size(), title->wordWrap());
            QVERIFY2(shown == title->text(), qPrintable(QStringLiteral("%1: \"%2\" in %3 x %4 px")
                                                            .arg(QString::fromLatin1(language), title->text())
                                                            .arg(title->contentsRect().width())
                                                            .arg(title->contentsRect().height())));
        }
        // The longest German title among them.
        QVERIFY(checked.contains(MainWindow::TileFieldbus));
    }
}

QTEST_MAIN(TestMainWindowFit)
#include "tst_mainwindow_fit.moc"
