#include "basedialog.h"
#include "basewidget.h"
#include "custommessagebox.h"
#include "metatypes.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// A page whose combo box is refilled on re-texting, as real pages do.
class Page : public BaseWidget
{
public:
    explicit Page(QWidget *parent = nullptr)
        : BaseWidget(parent)
    {
        auto *layout = new QVBoxLayout(this);
        combo = new QComboBox(this);
        layout->addWidget(combo);
        combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
        connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int) {
            if (translationInProgress)
                ++ignoredEdits;
            else
                ++acceptedEdits;
        });
    }
    void translateUiSlot(QWidget *ptr) override
    {
        ++retexts;
        lastPtr = ptr;
        flagDuringRetext = translationInProgress;
        combo->clear();
        combo->addItems({QStringLiteral("c"), QStringLiteral("d")});
    }
    QComboBox *combo;
    int retexts = 0;
    int ignoredEdits = 0;
    int acceptedEdits = 0;
    bool flagDuringRetext = false;
    QWidget *lastPtr = nullptr;
};

class Dialog : public BaseDialog
{
public:
    void translateUiSlot(QWidget *) override {}
};

} // namespace

class TestWidgetBases : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerMetaTypes(); }
    void constructionStylesWidget();
    void printNotificationRoutesByKind_data();
    void printNotificationRoutesByKind();
    void successWrapperDefaultsTo3000();
    void messageboxWrapperWithoutResultPointer();
    void wrapperSignalsTravelUp();
    void polishWidgetNullIsIgnored();
    void languageChangeRetextsWithFlag();
    void dialogExecReturnsResult();
    void execEndsWhenDeleted_data();
    void execEndsWhenDeleted();
};

void TestWidgetBases::constructionStylesWidget()
{
    Page page;
    QVERIFY(page.testAttribute(Qt::WA_StyledBackground));
    QVERIFY(!page.styleSheet().isEmpty());
    QVERIFY(!page.translationInProgress);
    Dialog dialog;
    QVERIFY(dialog.isHidden());
    QCOMPARE(dialog.dialogResult, 0);
}

void TestWidgetBases::printNotificationRoutesByKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("success");
    QTest::newRow("no icon") << 0 << true;
    QTest::newRow("information") << 1 << true;
    QTest::newRow("attention") << 2 << false;
    QTest::newRow("error") << 3 << false;
    QTest::newRow("question") << 4 << false;
    // A kind without a name; 7 is the largest an Icon can hold.
    QTest::newRow("unknown") << 7 << false;
}

void TestWidgetBases::printNotificationRoutesByKind()
{
    QFETCH(int, kind);
    QFETCH(bool, success);
    Page page;
    QSignalSpy ok(&page, &BaseWidget::printNotifyBarSuccesswrapper);
    QSignalSpy err(&page, &BaseWidget::printNotifyBarErrorwrapper);
    page.printNotification(QStringLiteral("msg"), true, static_cast<QMessageBox::Icon>(kind), false);
    page.printNotification(QStringLiteral("msg2"), false, static_cast<QMessageBox::Icon>(kind), true);
    if (success) {
        QCOMPARE(ok.count(), 2);
        QCOMPARE(err.count(), 0);
        QCOMPARE(ok.at(0).at(0).toString(), QStringLiteral("msg"));
        QCOMPARE(ok.at(0).at(1).value<uint32_t>(), 3000u);
    } else {
        QCOMPARE(ok.count(), 0);
        QCOMPARE(err.count(), 2);
        // message, sendErrorReset, showGoToLog
        QCOMPARE(err.at(0), (QList<QVariant>{QStringLiteral("msg"), false, true}));
        QCOMPARE(err.at(1), (QList<QVariant>{QStringLiteral("msg2"), true, false}));
    }
}

void TestWidgetBases::successWrapperDefaultsTo3000()
{
    Page page;
    QSignalSpy ok(&page, &BaseWidget::printNotifyBarSuccesswrapper);
    emit page.printNotifyBarSuccesswrapper(QStringLiteral("done"));
    QCOMPARE(ok.count(), 1);
    QCOMPARE(ok.at(0).at(1).value<uint32_t>(), 3000u);
}

void TestWidgetBases::messageboxWrapperWithoutResultPointer()
{
    Page page;
    int32_t *seen = reinterpret_cast<int32_t *>(0x1);
    connect(&page, &BaseWidget::printMessageboxwrapper, this,
            [&](QStringList, QString, QString, QMessageBox::Icon, int32_t *ptr) { seen = ptr; });
    emit page.printMessageboxwrapper({QStringLiteral("Cancel"), QStringLiteral("OK")},
                                     QStringLiteral("t"), QStringLiteral("m"),
                                     QMessageBox::Question);
    QCOMPARE(seen, nullptr);
}

void TestWidgetBases::wrapperSignalsTravelUp()
{
    Page parent;
    Page *child = new Page(&parent);
    BaseWidget::connectWrapperSignals(child, &parent);
    BaseWidget::connectWrapperSignals(nullptr, &parent); // ignored
    BaseWidget::connectWrapperSignals(child, nullptr);   // ignored

    // The answer pointer's type is not a registered meta type (it is only
    // ever passed directly), so the box is seen through a direct connection.
    QList<QPair<QMessageBox::Icon, int32_t *>> box;
    connect(&parent, &BaseWidget::printMessageboxwrapper, this,
            [&](QStringList, QString, QString, QMessageBox::Icon icon, int32_t *ptr) { box.append({icon, ptr}); });
    QSignalSpy err(&parent, &BaseWidget::printNotifyBarErrorwrapper);
    QSignalSpy ok(&parent, &BaseWidget::printNotifyBarSuccesswrapper);
    QSignalSpy tr(&parent, &BaseWidget::translateUiSignal);

    int32_t answer = 7;
    emit child->printMessageboxwrapper({QStringLiteral("A")}, QStringLiteral("t"),
                                       QStringLiteral("m"), QMessageBox::Critical, &answer);
    child->printNotification(QStringLiteral("e"), false, QMessageBox::Critical, true);
    child->printNotification(QStringLiteral("s"), false, QMessageBox::Information, false);
    emit child->translateUiSignal(child);

    QCOMPARE(box.count(), 1);
    QCOMPARE(box.at(0).first, QMessageBox::Critical);
    QCOMPARE(box.at(0).second, &answer);
    QCOMPARE(err.count(), 1);
    QCOMPARE(ok.count(), 1);
    QCOMPARE(tr.count(), 0);
    QCOMPARE(parent.retexts, 0);
    QCOMPARE(child->retexts, 1);
}

void TestWidgetBases::polishWidgetNullIsIgnored()
{
    Page page;
    page.polishWidget(nullptr);
    page.combo->setProperty("isPrimaryButton", true);
    page.polishWidget(page.combo);
}

void TestWidgetBases::languageChangeRetextsWithFlag()
{
    Page page;
    QLocale::setDefault(QLocale(QLocale::German));
    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(&page, &change);
    QCOMPARE(page.retexts, 1);
    QCOMPARE(page.lastPtr, &page);
    QVERIFY(page.flagDuringRetext);
    QVERIFY(!page.translationInProgress);
    QVERIFY(page.ignoredEdits > 0);
    QCOMPARE(page.acceptedEdits, 0);
    QCOMPARE(page.locale().language(), QLocale::German);

    page.combo->setCurrentIndex(1);
    QCOMPARE(page.acceptedEdits, 1);
    QLocale::setDefault(QLocale::c());
}

void TestWidgetBases::dialogExecReturnsResult()
{
    Dialog dialog;
    // Finished without a result: 0.
    QTimer::singleShot(0, &dialog, [&] {
        QVERIFY(dialog.isVisible());
        emit dialog.DialogFinished();
    });
    QCOMPARE(dialog.exec(), 0);
    QVERIFY(dialog.isHidden());

    // A second run on the same object; other events keep flowing meanwhile.
    bool timerRan = false;
    QTimer::singleShot(0, &dialog, [&] { timerRan = true; });
    QTimer::singleShot(5, &dialog, [&] {
        dialog.dialogResult = 42;
        emit dialog.DialogFinished();
    });
    QCOMPARE(dialog.exec(), 42);
    QVERIFY(timerRan);
}

void TestWidgetBases::execEndsWhenDeleted_data()
{
    QTest::addColumn<bool>("messageBox");
    QTest::addColumn<bool>("later");
    QTest::newRow("dialog deleted") << false << false;
    QTest::newRow("dialog deleteLater") << false << true;
    QTest::newRow("message box deleted") << true << false;
    QTest::newRow("message box deleteLater") << true << true;
}

// A dialog or box removed while its exec() waits (its host went, or it was
// deleted): exec() returns "no answer" at once instead of waiting for a
// finish that can no longer come, and touches nothing of the dead widget.
void TestWidgetBases::execEndsWhenDeleted()
{
    QFETCH(bool, messageBox);
    QFETCH(bool, later);
    Dialog *dialog = messageBox ? nullptr : new Dialog;
    CustomMessageBox *box = messageBox ? new CustomMessageBox : nullptr;
    QWidget *widget = box ? static_cast<QWidget *>(box) : dialog;
    if (dialog)
        dialog->dialogResult = 7;  // not an answer once the dialog is gone
    QPointer<QWidget> alive(widget);
    QTimer::singleShot(0, widget, [widget, later] {
        if (later)
            widget->deleteLater();
        else
            delete widget;
    });
    QTimer hang;
    connect(&hang, &QTimer::timeout, [] { qFatal("exec() waits on after its widget was deleted"); });
    hang.start(10000);
    const int result = box ? box->exec({QStringLiteral("OK")}, QStringLiteral("t"), QStringLiteral("m"), 1)
                           : dialog->exec();
    QVERIFY(alive.isNull());
    QCOMPARE(result, messageBox ? -1 : 0);
}

QTEST_MAIN(TestWidgetBases)
#include "tst_widgetbases.moc"
