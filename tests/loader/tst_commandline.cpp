#include <QtTest>

#include "commandline.h"

using namespace loader::commandline;

namespace {

const QString kLocal = QStringLiteral("198.18.0.1");

// A plan in one line: each step as its option word, ":" and the argument
// for options that take one, a "+" after a "-s" whose address is local;
// then the way the walk ended.
QString describe(const Plan &plan)
{
    QStringList parts;
    for (const Step &step : plan.steps) {
        const auto spec = std::find_if(options().begin(), options().end(),
                                       [&](const OptionSpec &s) { return s.option == step.option; });
        QString text = QLatin1String(spec->word);
        if (spec->argument)
            text += QLatin1Char(':') + step.argument;
        if (step.matched)
            text += QLatin1Char('+');
        parts << text;
    }
    switch (plan.end) {
    case End::Complete: parts << QStringLiteral("end"); break;
    case End::MissingAddress: parts << QStringLiteral("no-address"); break;
    case End::MissingArgument: parts << QStringLiteral("no-argument"); break;
    case End::SeveralCommands: parts << QStringLiteral("several"); break;
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("plan");
    QTest::addColumn<bool>("commandMode");
    QTest::addColumn<bool>("queuesWork");

    QTest::newRow("no words: window mode") << QStringList{} << "end" << false << false;
    QTest::newRow("help alone") << QStringList{"-h"} << "-h end" << true << true;
    QTest::newRow("upper case acts as lower")
        << QStringList{"-T", "10.0.0.2", "-S", kLocal, "-L"} << "-t:10.0.0.2 -s:198.18.0.1+ -l end" << true << true;
    QTest::newRow("source not a local adapter")
        << QStringList{"-t", "10.0.0.2", "-s", "10.0.0.99", "-l"} << "-t:10.0.0.2 -s:10.0.0.99 no-address" << true
        << false;
    QTest::newRow("command before the addresses")
        << QStringList{"-l", "-t", "10.0.0.2", "-s", kLocal} << "no-address" << true << false;
    QTest::newRow("unknown word first") << QStringList{"foo", "-c"} << "no-address" << true << false;
    QTest::newRow("unknown word after the addresses is skipped")
        << QStringList{"-t", "10.0.0.2", "-s", kLocal, "foo", "-c"} << "-t:10.0.0.2 -s:198.18.0.1+ -c end" << true
        << true;
    QTest::newRow("target that is no address still counts")
        << QStringList{"-t", "unit", "-s", kLocal, "-rc"} << "-t:unit -s:198.18.0.1+ -rc end" << true << true;
    QTest::newRow("sealing needs no addresses") << QStringList{"-m", "a.hex"} << "-m:a.hex end" << true << true;
    QTest::newRow("option without its argument") << QStringList{"-m"} << "no-argument" << false << false;
    QTest::newRow("file command without its argument")
        << QStringList{"-t", "10.0.0.2", "-s", kLocal, "-f"} << "-t:10.0.0.2 -s:198.18.0.1+ no-argument" << true
        << false;
    QTest::newRow("empty file name is an argument")
        << QStringList{"-t", "10.0.0.2", "-s", kLocal, "-f", ""} << "-t:10.0.0.2 -s:198.18.0.1+ -f: end" << true
        << true;
    QTest::newRow("keys")
        << QStringList{"-t", "10.0.0.2", "-s", kLocal, "-k", "k.fwa"} << "-t:10.0.0.2 -s:198.18.0.1+ -k:k.fwa end"
        << true << true;
    QTest::newRow("second source binds again")
        << QStringList{"-s", kLocal, "-s", "198.18.0.7", "-t", "10.0.0.2", "-c"}
        << "-s:198.18.0.1+ -s:198.18.0.7+ -t:10.0.0.2 -c end" << true << true;
    QTest::newRow("a later unmatched source keeps the earlier one")
        << QStringList{"-s", kLocal, "-s", "10.9.9.9", "-t", "10.0.0.2", "-c"}
        << "-s:198.18.0.1+ -s:10.9.9.9 -t:10.0.0.2 -c end" << true << true;
    QTest::newRow("help before a command: both in order")
        << QStringList{"-h", "-t", "10.0.0.2", "-s", kLocal, "-l"} << "-h -t:10.0.0.2 -s:198.18.0.1+ -l end" << true
        << true;
    QTest::newRow("two commands are refused")
        << QStringList{"-t", "10.0.0.2", "-s", kLocal, "-c", "-l"} << "-t:10.0.0.2 -s:198.18.0.1+ -c -l several" << true
        << true;
    QTest::newRow("sealing counts as a command")
        << QStringList{"-m", "a.hex", "-t", "10.0.0.2", "-s", kLocal, "-f", "a.fwa"}
        << "-m:a.hex -t:10.0.0.2 -s:198.18.0.1+ -f:a.fwa several" << true << true;
    QTest::newRow("two seals") << QStringList{"-m", "a.hex", "-m", "b.hex"} << "-m:a.hex -m:b.hex several" << true
                               << true;
    QTest::newRow("help after a command")
        << QStringList{"-t", "10.0.0.2", "-s", kLocal, "-c", "-h"} << "-t:10.0.0.2 -s:198.18.0.1+ -c -h several"
        << true << true;
    QTest::newRow("a second command without its argument is no second command")
        << QStringList{"-t", "10.0.0.2", "-s", kLocal, "-c", "-f"} << "-t:10.0.0.2 -s:198.18.0.1+ -c no-argument"
        << true << true;
    QTest::newRow("two commands, then an option without its argument")
        << QStringList{"-t", "10.0.0.2", "-s", kLocal, "-c", "-l", "-m"}
        << "-t:10.0.0.2 -s:198.18.0.1+ -c -l several" << true << true;
    QTest::newRow("a command before the addresses is refused for those")
        << QStringList{"-m", "a.hex", "-c", "-t", "10.0.0.2", "-s", kLocal} << "-m:a.hex no-address" << true << true;
    QTest::newRow("addresses alone queue nothing")
        << QStringList{"-t", "10.0.0.2", "-s", kLocal} << "-t:10.0.0.2 -s:198.18.0.1+ end" << true << false;
    QTest::newRow("an address word is an argument, not an option")
        << QStringList{"-t", "-h", "-s", kLocal, "-c"} << "-t:-h -s:198.18.0.1+ -c end" << true << true;
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, words);
    QFETCH(QString, plan);
    QFETCH(bool, commandMode);
    QFETCH(bool, queuesWork);
    const QStringList locals{kLocal, QStringLiteral("198.18.0.7")};
    const Plan result = loader::commandline::parse(words, [&](const QString &text) { return locals.contains(text); });
    QCOMPARE(describe(result), plan);
    QCOMPARE(result.commandMode, commandMode);
    QCOMPARE(result.queuesWork(), queuesWork);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
