// Signals that carry an answer pointer reach only receivers on the
// emitting thread, as direct calls.
#include <QTest>
#include <QThread>

#include "replyconnection.h"

namespace {

class Asker : public QObject
{
    Q_OBJECT
public:
    int32_t ask()
    {
        int32_t answer = -1;
        emit question(QStringLiteral("Save?"), &answer);
        return answer;
    }

signals:
    void question(QString text, int32_t *answer);
};

} // namespace

class TestReplyConnection : public QObject
{
    Q_OBJECT

private slots:
    void answersOnOneThread();
    void refusedAcrossThreads();
};

void TestReplyConnection::answersOnOneThread()
{
    Asker asker;
    QObject receiver;
    QString seen;
    QVERIFY(connectReply(&asker, &Asker::question, &receiver, [&](const QString &text, int32_t *answer) {
        seen = text;
        *answer = 1;
    }));
    QCOMPARE(asker.ask(), 1);
    QCOMPARE(seen, QStringLiteral("Save?"));
}

void TestReplyConnection::refusedAcrossThreads()
{
    QThread worker;
    worker.start();
    Asker asker;
    QObject remote;
    remote.moveToThread(&worker);
    int calls = 0;
    QTest::ignoreMessage(QtWarningMsg, "a signal with an answer pointer is connected only within one thread");
    QVERIFY(!connectReply(&asker, &Asker::question, &remote, [&](const QString &, int32_t *answer) {
        ++calls;
        *answer = 1;
    }));

    // A receiver that moves away after connecting is no longer called.
    QObject local;
    QVERIFY(connectReply(&asker, &Asker::question, &local, [&](const QString &, int32_t *answer) {
        ++calls;
        *answer = 1;
    }));
    local.moveToThread(&worker);
    QTest::ignoreMessage(QtWarningMsg, "answer pointer signal emitted from another thread - ignored");
    QCOMPARE(asker.ask(), -1);
    QCOMPARE(calls, 0);
    worker.quit();
    worker.wait();
}

QTEST_GUILESS_MAIN(TestReplyConnection)
#include "tst_replyconnection.moc"
