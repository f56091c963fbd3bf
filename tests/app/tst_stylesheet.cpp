#include "appfixture.h"
#include "scalinghandlercont.h"
#include "stylesheetcontainer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

namespace {

QString readResource(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

bool hasVisiblePixel(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(argb.pixel(x, y)) > 0)
                return true;
    return false;
}

} // namespace

class TestStylesheet : public QObject
{
    Q_OBJECT

private slots:
    void build_data();
    void build();
    void realSheetResolvesEveryPlaceholder();
    void realSheetParsesWithoutWarnings();
    void realSheetSelectsOnEveryProperty();
    void everyImageExistsAndRenders();
    void initOnlyRebuildsOnNewFactor();
    void missingVariablesLeaveSheetEmpty();
    void applicationFontFollowsFactor();
};

void TestStylesheet::build_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("vars");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("expected");

    // A value keeps the blank that follows its "=".
    QTest::newRow("colour") << "a { color: @ColorText; }" << "@ColorText = #646464" << 1.0
                            << "a { color:  #646464; }";
    QTest::newRow("blanks before semicolon")
        << "a { color: @ColorText   ; }" << "@ColorText = #646464" << 1.0
        << "a { color:  #646464; }";
    QTest::newRow("point size x1.5") << "a { font: @FontH3; }" << "@FontH3 = 20pt \"Arial\""
                                     << 1.5 << "a { font:  30pt \"Arial\"; }";
    QTest::newRow("point size x1.5 text")
        << "a { font: @FontText; }" << "@FontText = 12pt \"Arial\"" << 1.5
        << "a { font:  18pt \"Arial\"; }";
    QTest::newRow("point size x0.5") << "a { font: @FontText; }" << "@FontText = 12pt \"Arial\""
                                     << 0.5 << "a { font:  6pt \"Arial\"; }";
    QTest::newRow("fractional point size")
        << "a { font: @FontTextMedium; }" << "@FontTextMedium = 11pt \"Arial\"" << 1.33
        << "a { font:  14.63pt \"Arial\"; }";
    QTest::newRow("em stays") << "a { max-height: @ListCheckMarkMaxHeight; }"
                              << "@ListCheckMarkMaxHeight = 0.75em" << 2.0
                              << "a { max-height:  0.75em; }";
    QTest::newRow("value with own declaration")
        << "a { font: @FontTextBold; }"
        << "@FontTextBold = 12pt \"Arial Regular\"; font-weight: bold" << 2.0
        << "a { font:  24pt \"Arial Regular\"; font-weight: bold; }";
    QTest::newRow("prefix names stay apart")
        << "a { font: @FontText; } b { font: @FontTextBold; }"
        << "@FontTextBold = 10pt \"B\"\n@FontText = 12pt \"A\"" << 1.0
        << "a { font:  12pt \"A\"; } b { font:  10pt \"B\"; }";
    QTest::newRow("every occurrence") << "a { color: @C; } b { border-color: @C; }"
                                      << "@C = red" << 1.0
                                      << "a { color:  red; } b { border-color:  red; }";
    QTest::newRow("crlf, comments, blank and malformed lines")
        << "a { color: @C; background: @D; }"
        << "/* Colors */\r\n\r\n@C = red\r\n@D = a = b\r\nnonsense\r\n" << 1.0
        << "a { color:  red; background: @D; }";
    QTest::newRow("blanks around the name") << "a { color: @C; }" << "  @C   = blue" << 1.0
                                            << "a { color:  blue; }";
    QTest::newRow("url untouched") << "a { image: @IconLogo; }"
                                   << "@IconLogo = url(:/res/logoTormaveldt.svg)" << 3.0
                                   << "a { image:  url(:/res/logoTormaveldt.svg); }";
    QTest::newRow("name needs its semicolon") << "a { color: @C }" << "@C = red" << 1.0
                                              << "a { color: @C }";
}

void TestStylesheet::build()
{
    QFETCH(QString, sheet);
    QFETCH(QString, vars);
    QFETCH(double, factor);
    QFETCH(QString, expected);
    QCOMPARE(Stylesheetcontainer::buildStyleSheet(sheet, vars, factor), expected);
}

void TestStylesheet::realSheetResolvesEveryPlaceholder()
{
    const QString raw = readResource(QStringLiteral(":stylesheet.qss"));
    const QString vars = readResource(QStringLiteral(":stylesheetVars.txt"));
    QVERIFY(!raw.isEmpty());
    QVERIFY(!vars.isEmpty());

    // Every variable is used and every placeholder defined.
    QRegularExpression nameRe(QStringLiteral("@[A-Za-z0-9]+"));
    QSet<QString> used, defined;
    for (auto it = nameRe.globalMatch(raw); it.hasNext();)
        used.insert(it.next().captured());
    for (const QString &line : vars.split(QLatin1Char('\n'))) {
        const QString name = line.section(QLatin1Char('='), 0, 0).trimmed();
        if (name.startsWith(QLatin1Char('@')))
            defined.insert(name);
    }
    QCOMPARE(used, defined);

    for (double factor : {0.5, 1.0, 2.0, 3.0}) {
        const QString built = Stylesheetcontainer::buildStyleSheet(raw, vars, factor);
        const QRegularExpressionMatch left = nameRe.match(built);
        QVERIFY2(!left.hasMatch(), qPrintable(left.captured()));
    }
    const QString atTwo = Stylesheetcontainer::buildStyleSheet(raw, vars, 2.0);
    QVERIFY(atTwo.contains(QStringLiteral("font:  72pt \"Arial\";"))); // FontH1 36pt
}

void TestStylesheet::realSheetParsesWithoutWarnings()
{
    const QString raw = readResource(QStringLiteral(":stylesheet.qss"));
    // One widget of each kind for every property value the sheet selects on.
    QRegularExpression propRe(QStringLiteral("\\[([A-Za-z0-9]+)=\"([^\"]*)\"\\]"));
    QList<QPair<QByteArray, QString>> props;
    for (auto it = propRe.globalMatch(raw); it.hasNext();) {
        const auto m = it.next();
        const QPair<QByteArray, QString> p(m.captured(1).toLatin1(), m.captured(2));
        if (!props.contains(p))
            props.append(p);
    }
    QVERIFY(props.size() > 50);

    WarningCollector warnings;
    QWidget root;
    root.resize(1400, 1000);
    auto *grid = new QGridLayout(&root);
    int row = 0;
    for (const auto &p : props) {
        QList<QWidget *> widgets{new QLabel(QStringLiteral("Label")),
                                 new QPushButton(QStringLiteral("Button")),
                                 new QToolButton,
                                 new QLineEdit(QStringLiteral("1,5")),
                                 new QCheckBox(QStringLiteral("Check")),
                                 new QDoubleSpinBox,
                                 new QComboBox,
                                 new QProgressBar,
                                 new QGroupBox(QStringLiteral("Group")),
                                 new QTreeView,
                                 new QWidget};
        int col = 0;
        for (QWidget *w : widgets) {
            const QVariant value = p.second == QLatin1String("true")    ? QVariant(true)
                                   : p.second == QLatin1String("false") ? QVariant(false)
                                                                        : QVariant(p.second);
            w->setProperty(p.first.constData(), value);
            grid->addWidget(w, row % 40, col + 11 * (row / 40));
            ++col;
        }
        ++row;
    }
    stylesheetContainer.applyStylesheet(&root);
    QVERIFY(!root.styleSheet().isEmpty());
    root.show();
    const QPixmap shot = root.grab();
    QVERIFY(!shot.isNull());
    QVERIFY2(warnings.messages().isEmpty(), qPrintable(warnings.messages().join('\n')));

    // The collector does hear a broken sheet.
    QWidget broken;
    broken.setStyleSheet(QStringLiteral("QWidget { color: red; "));
    broken.ensurePolished();
    QVERIFY(!warnings.messages().isEmpty());
}

void TestStylesheet::realSheetSelectsOnEveryProperty()
{
    // The variants the forms and pages set; a selector that went missing
    // would silently drop a look.
    const QString raw = readResource(QStringLiteral(":stylesheet.qss"));
    QStringList selectors;
    for (const char *name :
         {"isAcquisitionButton", "isAssistantTabButton", "isAssistantTabButtonText",
          "isBackground", "isChnSel", "isConfigPage", "isDeleteButton", "isDialog", "isDragIcon",
          "isDropZone", "isGraph", "isHover", "isInstallationDirectionNegativ",
          "isInstallationDirectionPositiv", "isInteractionText", "isLabelButton", "isLeftRound",
          "isLogTree", "isLogo", "isMainTab", "isMultiColor", "isNavTree", "isNoBorder",
          "isNoHover", "isNoRound", "isNotificationBarButton", "isNotificationBarError",
          "isNotificationBarInfo", "isNotificationErrorIcon", "isNotificationSuccessIcon",
          "isPrimaryButton", "isReadOnly", "isRightRound", "isSelected", "isSemiTransparent",
          "isSensorDescription", "isSettingsGroup", "isSettingsGroupExtention",
          "isTabItemVariant1", "isTextButton", "isTile", "isTransparent", "isValueBar",
          "invalidValue", "useRedBorder", "useRightBorder", "isCollapsed"})
        selectors << QStringLiteral("[%1=\"true\"]").arg(QLatin1String(name));
    for (const char *name : {"isBackground2", "isConnected", "childHasFocus"})
        selectors << QStringLiteral("[%1=\"true\"]").arg(QLatin1String(name))
                  << QStringLiteral("[%1=\"false\"]").arg(QLatin1String(name));
    const QList<QPair<const char *, QStringList>> texts{
        {"textStyle",
         {"H1", "H2", "H3", "H4", "H5", "Large", "LargeBold", "Medium", "MediumBold", "Small",
          "SmallBold"}},
        {"TileStatus", {"none", "success", "warning"}},
        {"StatusStyle", {"gray", "green", "yellow", "orange", "red"}},
        {"MessageIcon", {"info", "error", "none"}},
        {"LabelStyle", {"FontTextBold", "Header", "ProgressBarDescription", "H3"}}};
    for (const auto &property : texts)
        for (const QString &value : property.second)
            selectors << QStringLiteral("[%1=\"%2\"]").arg(QLatin1String(property.first), value);
    for (const QString &selector : selectors)
        QVERIFY2(raw.contains(selector), qPrintable(selector));
}

void TestStylesheet::everyImageExistsAndRenders()
{
    const QString built = Stylesheetcontainer::buildStyleSheet(
        readResource(QStringLiteral(":stylesheet.qss")),
        readResource(QStringLiteral(":stylesheetVars.txt")), 1.0);
    QRegularExpression urlRe(QStringLiteral("url\\(([^)]*)\\)"));
    QStringList paths;
    for (auto it = urlRe.globalMatch(built); it.hasNext();)
        paths.append(it.next().captured(1).trimmed());
    QVERIFY(paths.size() >= 30);
    // The icons the forms and widgets name themselves.
    paths << QStringLiteral(":/res/gologbutton-24px.svg") << QStringLiteral(":/res/okbutton-24px.svg")
          << QStringLiteral(":/res/attention.svg") << QStringLiteral(":/res/icon_error.svg")
          << QStringLiteral(":/res/icon_info.svg") << QStringLiteral(":/res/baseline-close-24px.svg")
          << QStringLiteral(":/gfx/Icon_Collapse.svg") << QStringLiteral(":/gfx/Icon_Expand.svg");
    paths.removeDuplicates();
    for (const QString &path : paths) {
        QVERIFY2(QFile::exists(path), qPrintable(path));
        QSvgRenderer svg(path);
        QVERIFY2(svg.isValid(), qPrintable(path));
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QVERIFY2(hasVisiblePixel(image), qPrintable(path));
    }
}

void TestStylesheet::initOnlyRebuildsOnNewFactor()
{
    Stylesheetcontainer container;
    QSignalSpy spy(&container, &Stylesheetcontainer::Stylesheetchanged);
    container.initStylesheet(1.0);
    QCOMPARE(spy.count(), 1);
    QVERIFY(!container.currentStyleSheet().isEmpty());
    container.initStylesheet(1.0);
    QCOMPARE(spy.count(), 1);
    container.initStylesheet(2.0);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).toDouble(), 2.0);
    QVERIFY(container.currentStyleSheet().contains(QStringLiteral("72pt")));
}

void TestStylesheet::missingVariablesLeaveSheetEmpty()
{
    Stylesheetcontainer container;
    container.setSources(QStringLiteral(":stylesheet.qss"), QStringLiteral(":noSuchVars.txt"));
    QSignalSpy spy(&container, &Stylesheetcontainer::Stylesheetchanged);
    container.initStylesheet(1.0);
    QCOMPARE(spy.count(), 1);
    QVERIFY(container.currentStyleSheet().isEmpty());

    QWidget w;
    w.setStyleSheet(QStringLiteral("QWidget { color: red; }"));
    container.applyStylesheet(&w);
    QVERIFY(w.styleSheet().isEmpty());
}

void TestStylesheet::applicationFontFollowsFactor()
{
    {
        ScaleFixture scale(QStringLiteral("2.0"));
        QCOMPARE(ScalingHandlerCont::instance()->getScaleFactor(), 2.0);
        QCOMPARE(QApplication::font().pointSizeF(), 16.5);
        QCOMPARE(stylesheetContainer.currentScaleFactor(), 2.0);
        QVERIFY(stylesheetContainer.currentStyleSheet().contains(QStringLiteral("72pt")));
    }
    // Back at 1.0 once the fixture's cfg.ini is gone.
    QCOMPARE(QApplication::font().pointSizeF(), 8.25);
    QCOMPARE(stylesheetContainer.currentScaleFactor(), 1.0);
}

QTEST_MAIN(TestStylesheet)
#include "tst_stylesheet.moc"
