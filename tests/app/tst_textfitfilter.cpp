// Cutting a label's text to its room: whole when it fits, else its longest
// beginning with "…", on one line or on as many wrapped lines as fit.
#include <QFontMetrics>
#include <QLabel>
#include <QtTest>

#include "textfitfilter.h"

namespace {

const QChar kEllipsis(0x2026);

const QString kMessage = QStringLiteral("There were no valid Reference values found for the following channels: "
                                        "Channel 1 | Channel 2 | Channel 3 | Channel 4");

QRect wrapped(const QFontMetrics &metrics, int width, const QString &text)
{
    return metrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, text);
}

} // namespace

class TestTextFitFilter : public QObject
{
    Q_OBJECT
private slots:
    void fit_data();
    void fit();
    void labelKeepsItsText();
};

void TestTextFitFilter::fit_data()
{
    // Rooms in multiples of the font's own sizes: no pixel width is assumed.
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("widthInTexts"); // of the text's own one-line width
    QTest::addColumn<int>("lines");           // room in line heights; 0: one line, no wrapping
    QTest::addColumn<bool>("whole");
    QTest::newRow("one line, room to spare") << QStringLiteral("connected") << 1.5 << 0 << true;
    QTest::newRow("one line, exactly") << QStringLiteral("connected") << 1.0 << 0 << true;
    QTest::newRow("one line, too narrow") << QStringLiteral("Kurzschluss") << 0.6 << 0 << false;
    QTest::newRow("one line, no room") << QStringLiteral("connected") << 0.0 << 0 << false;
    QTest::newRow("wraps onto two lines") << kMessage << 0.6 << 2 << true;
    QTest::newRow("needs three lines, has two") << kMessage << 0.3 << 2 << false;
    QTest::newRow("one long word, wrapped") << QStringLiteral("Standardkonfigurationswiederherstellung") << 0.5 << 3
                                            << false;
    QTest::newRow("empty") << QString() << 0.0 << 1 << true;
}

void TestTextFitFilter::fit()
{
    QFETCH(QString, text);
    QFETCH(double, widthInTexts);
    QFETCH(int, lines);
    QFETCH(bool, whole);
    const QFontMetrics metrics(QApplication::font());
    const bool wrap = lines > 0;
    const QSize room(int(metrics.horizontalAdvance(text) * widthInTexts),
                     metrics.lineSpacing() * qMax(1, lines) + metrics.descent());
    const QString shown = TextFitFilter::fit(text, metrics, room, wrap);
    if (whole) {
        QCOMPARE(shown, text);
        return;
    }
    QVERIFY2(shown != text, qPrintable(shown));
    // What is shown fits and is the text's beginning, marked as cut.
    if (wrap) {
        const QRect needed = wrapped(metrics, room.width(), shown);
        QVERIFY(needed.height() <= room.height());
    } else {
        QVERIFY(metrics.horizontalAdvance(shown) <= room.width());
    }
    if (!shown.isEmpty()) {
        QVERIFY2(shown.endsWith(kEllipsis), qPrintable(shown));
        QVERIFY2(text.startsWith(shown.chopped(1).trimmed()), qPrintable(shown));
    }
}

void TestTextFitFilter::labelKeepsItsText()
{
    QLabel label(QStringLiteral("Kurzschluss"));
    label.setToolTip(QStringLiteral("Sensor short circuit or low impedance"));
    TextFitFilter::install(&label);
    TextFitFilter::install(&label); // once is enough
    QCOMPARE(label.findChildren<TextFitFilter *>().size(), 1);
    label.setMinimumWidth(1);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    label.resize(label.sizeHint());
    QCOMPARE(TextFitFilter::shownText(&label), label.text());
    QCOMPARE(TextFitFilter::toolTipText(&label), label.toolTip());

    label.resize(label.sizeHint().width() / 2, label.height());
    const QString shown = TextFitFilter::shownText(&label);
    QVERIFY2(shown.endsWith(kEllipsis), qPrintable(shown));
    // The label's own text and size hint stay: with room it is whole again.
    QCOMPARE(label.text(), QStringLiteral("Kurzschluss"));
    QCOMPARE(TextFitFilter::toolTipText(&label),
             QStringLiteral("Kurzschluss\nSensor short circuit or low impedance"));
    // Drawing the cut text neither warns nor needs the whole width.
    label.repaint();
    label.resize(label.sizeHint());
    QCOMPARE(TextFitFilter::shownText(&label), label.text());
}

QTEST_MAIN(TestTextFitFilter)
#include "tst_textfitfilter.moc"
