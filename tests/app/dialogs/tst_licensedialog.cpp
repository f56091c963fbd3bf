// The licence viewer: one tab per library folder, the current tab's texts
// below, framed when a folder holds more than one.
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include "licensedialog.h"
#include "licensetexts.h"

class TestLicenseDialog : public QObject
{
    Q_OBJECT

private slots:
    void shippedTexts();
    void severalFilesAreFramed();
    void emptyRootGivesNoTabs();
};

void TestLicenseDialog::shippedTexts()
{
    LicenseDialog dialog;
    auto *tabs = dialog.findChild<QTabWidget *>();
    QStringList names;
    for (int i = 0; i < tabs->count(); ++i)
        names << tabs->tabText(i);
    QCOMPARE(names, (QStringList{"CMSIS", "mbedtls", "Qt", "sqlite", "XMCLib"}));
    QCOMPARE(tabs->currentIndex(), 0);
    // A single text stands alone, without start and end lines.
    const QString cmsis = licensetexts::pieces(QStringLiteral("CMSIS")).value(0);
    QVERIFY(!cmsis.isEmpty());
    QCOMPARE(dialog.text(), cmsis);
    QVERIFY(dialog.text().startsWith(cmsis.left(40)));
    QVERIFY(!dialog.text().contains(QStringLiteral("Start of")));

    // CMSIS is published under the Apache License 2.0: its text, not a
    // stand-in, as for mbed TLS.
    QVERIFY(cmsis.contains(QStringLiteral("Apache License")));
    QVERIFY(cmsis.contains(QStringLiteral("Version 2.0, January 2004")));
    QVERIFY(!cmsis.contains(QStringLiteral("not included in this build")));
    tabs->setCurrentIndex(1);
    QVERIFY(dialog.text().contains(QStringLiteral("Apache License")));

    // Switching replaces the text; switching back shows the first one again,
    // from the top.
    tabs->setCurrentIndex(2);
    QVERIFY(!dialog.text().startsWith(cmsis.left(40)));
    auto *edit = dialog.findChild<QTextEdit *>();
    edit->moveCursor(QTextCursor::End);
    tabs->setCurrentIndex(0);
    QVERIFY(dialog.text().startsWith(cmsis.left(40)));
    QCOMPARE(edit->textCursor().position(), 0);

    // Texts with angle brackets are shown as they are, not read as markup.
    tabs->setCurrentIndex(2);
    QCOMPARE(dialog.text().count(QStringLiteral("<")), licensetexts::pieces(QStringLiteral("Qt")).value(0).count(QStringLiteral("<")));
}

void TestLicenseDialog::severalFilesAreFramed()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("lib/")));
    auto write = [&](const QString &name, const QByteArray &text) {
        QFile f(dir.filePath(QStringLiteral("lib/") + name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    write(QStringLiteral("b.txt"), "second <text>");
    write(QStringLiteral("A.txt"), "first text");
    LicenseDialog dialog(nullptr, dir.path());
    QCOMPARE(dialog.findChild<QTabWidget *>()->tabText(0), QStringLiteral("lib"));
    QCOMPARE(dialog.text(), QStringLiteral("\n\nStart of A.txt: \n\n\nfirst text\n\n\nEnd of A.txt\n\n\n"
                                           "\n\nStart of b.txt: \n\n\nsecond <text>\n\n\nEnd of b.txt\n\n"));
}

void TestLicenseDialog::emptyRootGivesNoTabs()
{
    QTemporaryDir dir;
    LicenseDialog dialog(nullptr, dir.filePath(QStringLiteral("missing")));
    QCOMPARE(dialog.findChild<QTabWidget *>()->count(), 0);
    QVERIFY(dialog.text().isEmpty());
    // Close ends exec.
    QTimer::singleShot(0, &dialog, [&] { dialog.on_btnClose_clicked(); });
    QCOMPARE(dialog.exec(), 0);
}

QTEST_MAIN(TestLicenseDialog)
#include "tst_licensedialog.moc"
