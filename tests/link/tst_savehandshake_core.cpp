// The save handshake's steps, heartbeat by heartbeat, without a unit.
#include <QTest>

#include "savehandshake.h"

namespace {

// Events: "s<status>" a heartbeat with that save status, "m<status>" the
// same with the modified flag set, "c+" / "c-" the confirmation succeeded
// or failed, "w<status>" a heartbeat that came while the confirmation
// waited, "r" a reset (a new save or a lost link). Each event gives the
// step it returned; noted heartbeats and resets give "-".
QString run(SaveHandshake &h, const QString &events)
{
    QStringList steps;
    for (const QString &e : events.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QChar kind = e.at(0);
        SaveHandshake::Step step = SaveHandshake::Step::None;
        if (kind == QLatin1Char('s') || kind == QLatin1Char('m')) {
            step = h.onHeartbeat(e.mid(1).toInt(), kind == QLatin1Char('m'));
        } else if (kind == QLatin1Char('c')) {
            step = h.confirmed(e.at(1) == QLatin1Char('+'));
        } else if (kind == QLatin1Char('w')) {
            h.noteWhileConfirming(e.mid(1).toInt());
            steps << QStringLiteral("-");
            continue;
        } else {
            h.reset();
            steps << QStringLiteral("-");
            continue;
        }
        switch (step) {
        case SaveHandshake::Step::None: steps << QStringLiteral("."); break;
        case SaveHandshake::Step::Confirm: steps << QStringLiteral("confirm"); break;
        case SaveHandshake::Step::Fail: steps << QStringLiteral("fail"); break;
        case SaveHandshake::Step::EndQuietly: steps << QStringLiteral("end"); break;
        case SaveHandshake::Step::Succeed: steps << QStringLiteral("ok"); break;
        case SaveHandshake::Step::SucceedModified: steps << QStringLiteral("ok-modified"); break;
        }
    }
    return steps.join(QLatin1Char(' '));
}

} // namespace

class TestSaveHandshakeCore : public QObject
{
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
};

void TestSaveHandshakeCore::steps_data()
{
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("endState");

    const int idle = int(SaveHandshake::State::Idle);
    QTest::newRow("success") << "s1 s1 c+ s0 s0" << ". confirm . . ok" << idle;
    QTest::newRow("success, changed on the unit") << "s1 s1 c+ s0 m0" << ". confirm . . ok-modified" << idle;
    QTest::newRow("waits until the save runs") << "s0 s0 s-3 s2 s2 c+ s2 s2 s0 s0"
                                               << ". . . . confirm . . . . ok" << idle;
    QTest::newRow("failure after the confirmation") << "s1 s1 c+ s-5 s-5" << ". confirm . . fail" << idle;
    QTest::newRow("failure stands when 0 follows") << "s1 s1 c+ s-5 s0" << ". confirm . . fail" << idle;
    QTest::newRow("failure seen on the last heartbeat") << "s1 s1 c+ s0 s-1" << ". confirm . . fail" << idle;
    QTest::newRow("another save runs at the end") << "s1 s1 c+ s0 s1" << ". confirm . . end" << idle;
    QTest::newRow("confirmation refused") << "s1 s1 c- s0" << ". confirm fail ." << idle;
    QTest::newRow("failure while confirming") << "s1 s1 w-2 c+ s0 s0" << ". confirm - . . fail" << idle;
    QTest::newRow("good report while confirming") << "s1 s1 w0 c+ s0 s0" << ". confirm - . . ok" << idle;
    QTest::newRow("confirmation asked again while it waits") << "s1 s1 s1" << ". confirm confirm"
                                                             << int(SaveHandshake::State::Running);
    QTest::newRow("reset forgets the failure") << "s1 s1 w-2 r s1 s1 c+ s0 s0" << ". confirm - - . confirm . . ok"
                                               << idle;
    QTest::newRow("reset mid-save") << "s1 s1 c+ r s0" << ". confirm . - ." << idle;
    QTest::newRow("stray confirmation") << "c+ c-" << ". ." << idle;
    QTest::newRow("confirmed, still running") << "s1 s1 c+ s4" << ". confirm . ."
                                              << int(SaveHandshake::State::Confirmed);
}

void TestSaveHandshakeCore::steps()
{
    QFETCH(QString, events);
    QFETCH(QString, steps);
    QFETCH(int, endState);
    SaveHandshake h;
    QCOMPARE(run(h, events), steps);
    QCOMPARE(int(h.state()), endState);
}

QTEST_APPLESS_MAIN(TestSaveHandshakeCore)
#include "tst_savehandshake_core.moc"
