// The main window as the program opens it at each display scale (0.5, 1.0,
// 2.0), on a small and a common screen (1024x768, 1920x1080), in English and
// German, linked to a unit: the "Read Config" question and the connect
// dialog fit the screen with their buttons and a whole list row in sight,
// every channel's enable box on the Channel Configuration page can be
// reached and ticked, the Output Configuration row brings that section's
// fields into sight with one scroll bar on the page, the configuration
// action bar shows each of its buttons whole, and the scaling and language
// dialogs stand in the middle of the dialog page on their own ground.
// Controls, marks and logos follow the scale factor.
#include <QAbstractButton>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QTreeView>
#include <QtTest>

#include <memory>

#include "aboutdialog.h"
#include "appfixture.h"
#include "connectdialog.h"
#include "custommessagebox.h"
#include "databasecont.h"
#include "licensedialog.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "screenfit.h"
#include "testnet.h"
#include "translation.h"

namespace {

const QHostAddress kUnit(QStringLiteral("198.18.0.2"));

QString describe(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString nameOf(const QWidget *w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

// Empty when `control` is shown whole on the screen `area` as it lies now
// (no scrolling), else what is wrong with it.
QString notInSight(QWidget *control, const QRect &area)
{
    if (!control->isVisible())
        return nameOf(control) + QStringLiteral(" is hidden");
    const QRect global(control->mapToGlobal(QPoint(0, 0)), control->size());
    if (!area.contains(global))
        return QStringLiteral("%1 at %2 lies outside the screen").arg(nameOf(control), describe(global));
    // Cut by a scroll area's viewport, the window's edge or a widget over it.
    const QRegion shown = control->visibleRegion();
    if (shown != QRegion(control->rect()))
        return QStringLiteral("%1 shows %2 of %3x%4")
            .arg(nameOf(control), describe(shown.boundingRect()))
            .arg(control->width())
            .arg(control->height());
    return QString();
}

// Empty when `control` is in sight, or comes into sight when the scroll
// areas it lies in are scrolled to it, as the user would.
QString outOfReach(QWidget *control, const QRect &area)
{
    if (notInSight(control, area).isEmpty())
        return QString();
    for (QWidget *p = control->parentWidget(); p; p = p->parentWidget()) {
        if (auto *scroll = qobject_cast<QScrollArea *>(p))
            scroll->ensureWidgetVisible(control, 0, 0);
    }
    settleLayouts();
    return notInSight(control, area);
}

// The widget a click at the centre of `widget` lands on. (The offscreen
// platform's screen is smaller than the screens tried here, so the window
// itself is asked instead of the screen.)
QWidget *hitAtCentre(QWidget *widget)
{
    QWidget *window = widget->window();
    return window->childAt(widget->mapTo(window, widget->rect().center()));
}

// Empty when the button is as large as its style asks for its text in its
// own font (so the whole text is drawn), else what is missing.
QString textCut(QAbstractButton *button)
{
    const QSize needed = button->sizeHint();
    if (button->width() >= needed.width() && button->height() >= needed.height())
        return QString();
    return QStringLiteral("\"%1\" is %2x%3 for %4x%5")
        .arg(button->text())
        .arg(button->width())
        .arg(button->height())
        .arg(needed.width())
        .arg(needed.height());
}

// Empty when the label shows its whole text at its size, in its own font.
QString labelCut(QLabel *label)
{
    const QRect room = label->contentsRect();
    const int needed = label->wordWrap() ? label->heightForWidth(label->width())
                                         : QFontMetrics(label->font()).height();
    const bool wide = label->wordWrap()
                      || QFontMetrics(label->font()).horizontalAdvance(label->text()) <= room.width();
    if (wide && label->height() >= needed)
        return QString();
    return QStringLiteral("\"%1\" is cut at %2x%3").arg(label->text()).arg(label->width()).arg(label->height());
}

// Runs `look` on the dialog the window shows next, from a timer of the
// dialog's own event loop, once its layout has settled; `look` ends the
// dialog. `open` starts it (and returns once the dialog is over).
bool lookAtDialog(MainWindow &window, const std::function<bool(QWidget *)> &ready,
                  const std::function<void(QWidget *)> &look, const std::function<void()> &open)
{
    bool looked = false;
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &window, [&] {
        if (window.dialogs().empty())
            return;
        QWidget *shown = window.dialogs().back();
        // Looked at once it is ready, or after a generous wait all the same
        // (what is wrong then shows in the look).
        if (!shown->isVisible() || (!ready(shown) && waited.elapsed() < 30000))
            return;
        poll.stop();
        settleLayouts();
        looked = true;
        look(shown);
    });
    poll.start(20);
    open();
    poll.stop();
    return looked;
}

} // namespace

class TestMainWindowScales : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyScaleAndScreen_data();
    void everyScaleAndScreen();
    void partsFollowTheScale_data();
    void partsFollowTheScale();

private:
    void readConfigQuestion(const QRect &area);
    void enableBoxes(const QRect &area);
    void actionBar(const QRect &area);
    void outputSection(const QRect &area, bool fieldsInSight);
    void connectDialog(const QRect &area);
    void smallDialogs(const QRect &area);

    // One window per scale and screen, opened in the language of its first
    // row and switched to the other: both the opening and the switch are
    // seen.
    QString openedFor;
    std::unique_ptr<ScaleFixture> scale;
    std::unique_ptr<MainWindow> window;
    QByteArray screenOfTheRun;
    // What each part of a row found wrong.
    QStringList faults;
};

void TestMainWindowScales::initTestCase()
{
    screenOfTheRun = qgetenv("KORVANTIS_SCREEN");
    registerMetaTypes();
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    Databasecont::instance().setMessageSink([](const QString &, const QString &) {});
}

void TestMainWindowScales::cleanupTestCase()
{
    window.reset();
    scale.reset();
    qputenv("KORVANTIS_SCREEN", screenOfTheRun);
    switchTranslator(QStringLiteral("en"));
}

void TestMainWindowScales::everyScaleAndScreen_data()
{
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QByteArray>("screen");
    QTest::addColumn<QString>("language");
    for (const char *factor : {"0.5", "1.0", "2.0"}) {
        for (const char *screen : {"1024x768", "1920x1080"}) {
            // The small screen opens in German, the common one in English.
            const bool small = QByteArray(screen) == "1024x768";
            for (const char *language : small ? QList<const char *>{"de", "en"} : QList<const char *>{"en", "de"})
                QTest::addRow("%s, %s, %s", factor, screen, language) << factor << QByteArray(screen) << language;
        }
    }
}

void TestMainWindowScales::everyScaleAndScreen()
{
    QFETCH(QString, factor);
    QFETCH(QByteArray, screen);
    QFETCH(QString, language);
    const QString key = factor + QLatin1Char(' ') + QString::fromLatin1(screen);
    if (openedFor != key) {
        window.reset();
        scale.reset();
        qputenv("KORVANTIS_SCREEN", screen);
        scale = std::make_unique<ScaleFixture>(factor);
        switchTranslator(language);
        settleLayouts();
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        openedFor = key;
    } else {
        switchTranslator(language);
    }
    settleLayouts();
    const QList<QByteArray> wh = screen.split('x');
    const QRect area(QPoint(0, 0), QSize(wh.at(0).toInt(), wh.at(1).toInt()));
    QCOMPARE(screenfit::availableArea(window.get()), area);
    QTRY_VERIFY(area.contains(window->frameGeometry()));

    faults.clear();
    readConfigQuestion(area);
    enableBoxes(area);
    actionBar(area);
    // At 1.0 the sections' own area shows a section taller than itself
    // from its heading; at 2.0 the small screen's page area is lower than
    // the section.
    outputSection(area, factor == QLatin1String("0.5") || (factor == QLatin1String("2.0") && screen == "1920x1080"));
    connectDialog(area);
    smallDialogs(area);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("\n   "))));
}

// The question the first heartbeat of a unit asks: its text and both
// answers in sight.
void TestMainWindowScales::readConfigQuestion(const QRect &area)
{
    window->lostconnection();
    QVERIFY(window->asksReadConfig());
    HearBeatMessage_t hb;
    hb.setDeviceState(2);
    hb.channelEnabled = 0x7F;
    // A fieldbus module is fitted: its status takes its room on the page.
    hb.fieldbus.networkType = 0x0093;
    hb.fieldbus.moduleType = 0x0402;
    hb.fieldbus.moduleState = 3;
    hb.fieldbus.commState = 1;
    hb.fieldbus.flags = 0x01;
    const bool looked = lookAtDialog(
        *window, [](QWidget *shown) { return qobject_cast<CustomMessageBox *>(shown) != nullptr; },
        [&](QWidget *shown) {
            auto *box = static_cast<CustomMessageBox *>(shown);
            const QRect global(box->mapToGlobal(QPoint(0, 0)), box->size());
            if (!area.contains(global))
                faults << QStringLiteral("question: the box at %1 lies outside the screen").arg(describe(global));
            for (QPushButton *button : box->questionButtons()) {
                const QString fault = notInSight(button, area) + textCut(button);
                if (!fault.isEmpty())
                    faults << QStringLiteral("question: ") + fault;
            }
            for (QLabel *label : box->findChildren<QLabel *>()) {
                if (!label->isVisible() || label->text().isEmpty())
                    continue;
                const QString fault = notInSight(label, area) + labelCut(label);
                if (!fault.isEmpty())
                    faults << QStringLiteral("question: ") + fault;
            }
            box->questionButtons().first()->click(); // "No"
        },
        [&] { window->connectionsuccesfull(hb, kUnit); });
    if (!looked)
        faults << QStringLiteral("no question was asked");
    settleLayouts();
}

// Every channel's enable box on the Channel Configuration page: in sight,
// or brought into sight by the page's scrolling, and ticked by a click.
void TestMainWindowScales::enableBoxes(const QRect &area)
{
    QTest::mouseClick(part<QAbstractButton>(window.get(), "btnConfTab"), Qt::LeftButton);
    auto *tree = part<QTreeView>(window.get(), "treeSel");
    QModelIndex row;
    for (int r = 0; r < tree->model()->rowCount(); ++r) {
        const QModelIndex index = tree->model()->index(r, 0);
        if (auto *page = index.data(Qt::UserRole).value<QWidget *>()) {
            if (page->objectName() == QLatin1String("lblGeneralParam"))
                row = index;
        }
    }
    if (!row.isValid()) {
        faults << QStringLiteral("no Channel Configuration row");
        return;
    }
    tree->scrollTo(row);
    settleLayouts();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(row).center());
    settleLayouts();

    for (int n = 1; n <= 7; ++n) {
        auto *box = part<QCheckBox>(window.get(), QStringLiteral("chkChn%1").arg(n).toLatin1().constData());
        const QString fault = outOfReach(box, area);
        if (!fault.isEmpty()) {
            faults << QStringLiteral("channel %1: %2").arg(n).arg(fault);
            continue;
        }
        if (QWidget *hit = hitAtCentre(box); hit != box && !box->isAncestorOf(hit)) {
            faults << QStringLiteral("channel %1: a click at its box lands on %2").arg(n).arg(hit ? nameOf(hit) : QStringLiteral("nothing"));
            continue;
        }
        const bool before = box->isChecked();
        QTest::mouseClick(box, Qt::LeftButton);
        if (box->isChecked() == before)
            faults << QStringLiteral("channel %1: the click did not tick it").arg(n);
    }

    // The boxes follow the scale as the texts do: a box is about as high as
    // a line of its own font.
    auto *box = part<QCheckBox>(window.get(), "chkChn1");
    QStyleOptionButton option;
    option.initFrom(box);
    const QSize indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).size();
    const int line = QFontMetrics(box->font()).height();
    if (indicator.width() != indicator.height() || indicator.height() * 4 < line * 3 || indicator.height() * 4 > line * 5)
        faults << QStringLiteral("the enable boxes are %1x%2 beside a line of %3 px")
                      .arg(indicator.width())
                      .arg(indicator.height())
                      .arg(line);
}

// The configuration action bar: each button in reach with its whole text;
// and the network page's heading, whole.
void TestMainWindowScales::actionBar(const QRect &area)
{
    auto *tree = part<QTreeView>(window.get(), "treeSel");
    for (int r = 0; r < tree->model()->rowCount(); ++r) {
        const QModelIndex index = tree->model()->index(r, 0);
        auto *page = index.data(Qt::UserRole).value<QWidget *>();
        if (page && page->objectName() == QLatin1String("wdgConnParam")) {
            tree->scrollTo(index);
            settleLayouts();
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
            settleLayouts();
        }
    }
    auto *heading = part<QLabel>(window.get(), "lblNetworkSettings");
    if (const QString fault = labelCut(heading); !fault.isEmpty())
        faults << QStringLiteral("network page: ") + fault;
    for (const char *name : {"btnOpenConfig", "btnSaveConfig", "btnReadConfig", "btnWriteConfig"}) {
        auto *button = part<QAbstractButton>(window.get(), name);
        const QString fault = outOfReach(button, area) + textCut(button);
        if (!fault.isEmpty())
            faults << QLatin1String(name) + QStringLiteral(": ") + fault;
    }
}

// The Output Configuration row of the navigation tree, chosen from another
// page: only one scroll bar of the page in use (the channel sections' own
// area, or the window's page area where the room is short, never both),
// and, where `fieldsInSight`, the section's heading and its fields in sight
// without any further scrolling.
void TestMainWindowScales::outputSection(const QRect &area, bool fieldsInSight)
{
    if (!selectConfigPage(window.get(), "wdgConfigOutputTab")) {
        faults << QStringLiteral("no Output Configuration row");
        return;
    }
    auto *section = part<QWidget>(window.get(), "wdgConfigOutputTab");
    QList<QWidget *> shown{part<QWidget>(section, "label")};
    for (QWidget *w : section->findChildren<QWidget *>()) {
        if ((qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractSpinBox *>(w)) && w->isVisibleTo(section))
            shown << w;
    }
    const auto scrolling = [this] {
        QStringList found;
        QList<QScrollArea *> areas{part<QScrollArea>(window.get(), "scrollPages")};
        areas += part<QWidget>(window.get(), "pageScrollConfig")->findChildren<QScrollArea *>();
        for (QScrollArea *scroll : areas) {
            if (scroll->isVisible() && scroll->verticalScrollBar()->maximum() > 0)
                found << QStringLiteral("%1 by %2 px").arg(nameOf(scroll)).arg(scroll->verticalScrollBar()->maximum());
        }
        return found;
    };
    QStringList missing;
    // The layout settles over a few passes.
    (void)QTest::qWaitFor([&] {
        settleLayouts();
        missing.clear();
        for (QWidget *w : fieldsInSight ? shown : QList<QWidget *>()) {
            if (const QString fault = notInSight(w, area); !fault.isEmpty())
                missing << fault;
        }
        return missing.isEmpty() && scrolling().size() <= 1;
    }, 5000);
    for (const QString &fault : missing)
        faults << QStringLiteral("output section: ") + fault;
    if (scrolling().size() > 1)
        faults << QStringLiteral("the configuration page scrolls in %1").arg(scrolling().join(QStringLiteral(" and ")));
    // Nor does a page without the channel tabs scroll twice.
    selectConfigPage(window.get(), "wdgCommonParam");
    (void)QTest::qWaitFor([&] {
        settleLayouts();
        return scrolling().size() <= 1;
    }, 5000);
    if (scrolling().size() > 1)
        faults << QStringLiteral("the common settings page scrolls in %1").arg(scrolling().join(QStringLiteral(" and ")));
}

// The connect dialog: on the screen, its buttons in sight without scrolling
// and the list showing a found unit's row whole.
void TestMainWindowScales::connectDialog(const QRect &area)
{
    const bool looked = lookAtDialog(
        *window,
        [](QWidget *shown) {
            // The first search (no unit answers here) is over: it has begun
            // (the list is disabled until a unit answers) and ended (the
            // refresh is back). Before it begins, the refresh is enabled as
            // well, and the search would empty the row put in below.
            auto *refresh = shown->findChild<QAbstractButton *>(QStringLiteral("btnDiscoverIPs"));
            auto *list = shown->findChild<QTableWidget *>(QStringLiteral("tblFoundDevices"));
            return qobject_cast<Connectdialog *>(shown) && refresh && list && refresh->isEnabled()
                   && !list->isEnabled();
        },
        [&](QWidget *shown) {
            // The row a found unit gets, as the search fills it in.
            auto *table = shown->findChild<QTableWidget *>(QStringLiteral("tblFoundDevices"));
            table->setEnabled(true);
            table->setRowCount(1);
            auto *name = new QTableWidgetItem(QIcon(QStringLiteral(":/res/baseline-link-disconnected-24px.svg")),
                                              QStringLiteral("Press line 4"));
            table->setItem(0, 0, name);
            table->setItem(0, 1, new QTableWidgetItem(kUnit.toString()));
            table->setItem(0, 2, new QTableWidgetItem(QStringLiteral("02-4B-56-12-00-02")));
            settleLayouts();

            const QRect global(shown->mapToGlobal(QPoint(0, 0)), shown->size());
            if (!area.contains(global))
                faults << QStringLiteral("connect: the dialog at %1 lies outside the screen").arg(describe(global));
            for (const char *name : {"btnClose", "btnDiscoverIPs", "btnCancel", "btnConnect"}) {
                auto *button = shown->findChild<QAbstractButton *>(QLatin1String(name));
                const QString fault = notInSight(button, area) + textCut(button);
                if (!fault.isEmpty())
                    faults << QStringLiteral("connect: ") + fault;
            }
            // The found unit's row: whole in height, in a part of the list
            // that is in sight, and its text whole in the row.
            QWidget *viewport = table->viewport();
            const QRect cell = table->visualRect(table->model()->index(0, 0));
            const QRect shownCell = viewport->visibleRegion().intersected(cell).boundingRect();
            if (shownCell.height() < cell.height() || shownCell.width() <= 0 || !table->isVisible())
                faults << QStringLiteral("connect: the list shows %1 of its row %2 (list %3x%4)")
                              .arg(describe(shownCell), describe(cell))
                              .arg(table->width())
                              .arg(table->height());
            if (table->rowHeight(0) < QFontMetrics(table->font()).height())
                faults << QStringLiteral("connect: the row is %1 px high for its %2 px text")
                              .arg(table->rowHeight(0))
                              .arg(QFontMetrics(table->font()).height());
            shown->findChild<QAbstractButton *>(QStringLiteral("btnCancel"))->click();
        },
        [&] { QVERIFY(QMetaObject::invokeMethod(window.get(), "on_btnConnectToDevice_clicked")); });
    if (!looked)
        faults << QStringLiteral("the connect dialog was not shown");
    QVERIFY(window->dialogs().empty());
}

// The dialogs of the More menu that keep their own size: on the screen,
// in the middle of the dialog page, and drawn on their own ground (the
// dimmed page does not show through between their parts).
void TestMainWindowScales::smallDialogs(const QRect &area)
{
    struct Dialog
    {
        const char *opener;
        const char *leave;
        // Two parts with a gap between them that the dialog's ground fills.
        const char *above;
        const char *below;
    };
    const Dialog dialogs[] = {
        {"on_actionScaling_triggered", "btnExit", "groupBox", "btnApply"},
        {"on_actionLanguage_triggered", "btnSelect", "lstLang", "btnSelect"},
    };
    for (const Dialog &dialog : dialogs) {
        const QString name = QLatin1String(dialog.opener) + QStringLiteral(": ");
        const bool looked = lookAtDialog(
            *window, [](QWidget *) { return true; },
            [&](QWidget *shown) {
                const QRect global(shown->mapToGlobal(QPoint(0, 0)), shown->size());
                if (!area.contains(global))
                    faults << name + QStringLiteral("the dialog at %1 lies outside the screen").arg(describe(global));
                auto *leave = shown->findChild<QAbstractButton *>(QLatin1String(dialog.leave));
                if (const QString fault = notInSight(leave, area) + textCut(leave); !fault.isEmpty())
                    faults << name + fault;
                // In the middle of the room the dialog page gives it.
                QWidget *room = shown->parentWidget();
                const QRect place = shown->geometry();
                const int left = place.left();
                const int right = room->width() - 1 - place.right();
                const int top = place.top();
                const int bottom = room->height() - 1 - place.bottom();
                if (qAbs(left - right) > 1 || qAbs(top - bottom) > 1)
                    faults << name + QStringLiteral("the dialog at %1 in a room of %2x%3 is not in its middle")
                                         .arg(describe(place))
                                         .arg(room->width())
                                         .arg(room->height());
                if (!shown->property("isDialog").toBool())
                    faults << name + QStringLiteral("the dialog has no dialog look");
                // The ground between two of its parts, as drawn.
                auto *above = shown->findChild<QWidget *>(QLatin1String(dialog.above));
                auto *below = shown->findChild<QWidget *>(QLatin1String(dialog.below));
                const int gapTop = above->mapTo(window.get(), QPoint(0, above->height())).y();
                const int gapBottom = below->mapTo(window.get(), QPoint(0, 0)).y();
                const QPoint at(above->mapTo(window.get(), above->rect().center()).x(), (gapTop + gapBottom) / 2);
                if (gapBottom > gapTop) {
                    const QColor ground = window->grab(QRect(at, QSize(1, 1))).toImage().pixelColor(0, 0);
                    if (ground != QColor(Qt::white))
                        faults << name + QStringLiteral("the ground between its parts is %1").arg(ground.name());
                }
                leave->click();
            },
            [&] { QMetaObject::invokeMethod(window.get(), dialog.opener); });
        if (!looked)
            faults << name + QStringLiteral("no dialog was shown");
    }
}

namespace {

QSize indicatorOf(QCheckBox *box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    return box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).size();
}

// Sizes of parts that follow the scale factor, measured in the window and
// the dialogs as the program builds them at the present factor.
QMap<QString, QSize> scaledParts()
{
    QMap<QString, QSize> sizes;
    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return sizes;
    window.setcurrentIndexes(MainWindow::PageData);
    settleLayouts();
    // The data page's run controls.
    for (const char *name : {"btnmanRunstart", "spnTimeInterval"})
        sizes.insert(QLatin1String(name), part<QWidget>(&window, name)->sizeHint());
    sizes.insert(QStringLiteral("reference-run box"), indicatorOf(part<QCheckBox>(&window, "chkRefRun")));
    sizes.insert(QStringLiteral("channel enable box"), indicatorOf(part<QCheckBox>(&window, "chkChn1")));
    // The log tree's expand arrows are drawn in its indentation.
    const int indentation = part<QTreeView>(&window, "treeViewLog2")->indentation();
    sizes.insert(QStringLiteral("log tree indentation"), QSize(indentation, indentation));
    AboutDialog about(&window);
    sizes.insert(QStringLiteral("About logo"), about.findChild<QLabel *>(QStringLiteral("lblLogo"))->pixmap(Qt::ReturnByValue).size());
    LicenseDialog licence(&window);
    sizes.insert(QStringLiteral("licence logo"),
                 licence.findChild<QLabel *>(QStringLiteral("lblLogo"))->pixmap(Qt::ReturnByValue).size());
    Connectdialog connect(&window);
    sizes.insert(QStringLiteral("connect dialog's close mark"),
                 connect.findChild<QAbstractButton *>(QStringLiteral("btnClose"))->iconSize());
    CustomMessageBox box(&window);
    sizes.insert(QStringLiteral("message box's close mark"), box.closeButton()->iconSize());
    return sizes;
}

} // namespace

void TestMainWindowScales::partsFollowTheScale_data()
{
    QTest::addColumn<QString>("factor");
    QTest::newRow("0.5") << QStringLiteral("0.5");
    QTest::newRow("2.0") << QStringLiteral("2.0");
}

// Controls, marks and logos at 0.5 and 2.0 are about that many times their
// size at 1.0, not the size they have at 1.0.
void TestMainWindowScales::partsFollowTheScale()
{
    QFETCH(QString, factor);
    window.reset();
    scale.reset();
    openedFor.clear();
    QMap<QString, QSize> regular;
    {
        ScaleFixture one(QStringLiteral("1.0"));
        regular = scaledParts();
    }
    ScaleFixture scaled(factor);
    const QMap<QString, QSize> sizes = scaledParts();
    QCOMPARE(sizes.keys(), regular.keys());
    const double f = factor.toDouble();
    QStringList wrong;
    for (auto it = regular.cbegin(); it != regular.cend(); ++it) {
        const QSize expected(qRound(it.value().width() * f), qRound(it.value().height() * f));
        const QSize found = sizes.value(it.key());
        // Within a third of the size expected (texts' line heights round
        // on their own), and never the size of 1.0.
        const auto near = [](int found, int expected) { return qAbs(found - expected) <= qMax(2, expected * 35 / 100); };
        if (!near(found.width(), expected.width()) || !near(found.height(), expected.height()))
            wrong << QStringLiteral("%1: %2x%3 for %4x%5 (%6x%7 at 1.0)")
                         .arg(it.key())
                         .arg(found.width())
                         .arg(found.height())
                         .arg(expected.width())
                         .arg(expected.height())
                         .arg(it.value().width())
                         .arg(it.value().height());
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("\n   "))));
}

QTEST_MAIN(TestMainWindowScales)
#include "tst_mainwindow_scales.moc"
