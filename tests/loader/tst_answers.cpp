#include <QtTest>
#include <functional>

#include "ethernethandler.h"
#include "byteorder.h"
#include "loadermetatypes.h"

using namespace loader;

// Answer handling and matching, driven through handleMessageSlot without a
// socket: each request frame the handler emits is answered by a script.
class TestAnswers : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void matchingAnswerSurvivesLaterStray();
    void strayAnswersCostNoResend();
    void unansweredCommandSendsTwoFrames();
    void answerQueuedWhileGuiThreadBusy();
    void errorAnswers_data();
    void errorAnswers();
    void droppedDatagrams_data();
    void droppedDatagrams();
    void versionAnswers();
    void oversizedChunkSendsNothing();
    void sameCommandNestedGivesMutexError();
    void sequenceWraps();

private:
    using Script = std::function<void(uint16_t sequence, uint8_t command)>;
    void answerWith(Script script);
    void inject(const QByteArray &datagram, const QHostAddress &from = QHostAddress());

    EthernetHandler *h = nullptr;
    QHostAddress m_target{QStringLiteral("127.0.2.9")};
    QMetaObject::Connection m_script;
    QList<QByteArray> m_sent;
};

namespace {

QByteArray answer(uint16_t seq, uint8_t cmd, uint8_t flags, const QByteArray &payload = QByteArray())
{
    return buildFrame(seq, cmd, payload, flags);
}

QByteArray status(int32_t s)
{
    QByteArray b(4, '\0');
    le::put32(reinterpret_cast<uint8_t *>(b.data()), uint32_t(s));
    return b;
}

uint16_t seqOf(const QByteArray &frame) { return le::u16(reinterpret_cast<const uint8_t *>(frame.constData())); }

} // namespace

void TestAnswers::initTestCase()
{
    registerMetaTypes();
    h = EthernetHandler::instance();
    QCOMPARE(h->targetIP(), QHostAddress(QHostAddress::LocalHost));
    h->setTargetIP(QHostAddress(QStringLiteral("::1")));  // refused: not IPv4
    QCOMPARE(h->targetIP(), QHostAddress(QHostAddress::LocalHost));
    h->setTargetIP(m_target);
    connect(h, &EthernetHandler::sendPacketSignal, this, [this](QByteArray frame, QHostAddress) { m_sent.append(frame); });
}

void TestAnswers::cleanup()
{
    disconnect(m_script);
    m_sent.clear();
}

void TestAnswers::answerWith(Script script)
{
    disconnect(m_script);
    m_script = connect(h, &EthernetHandler::sendPacketSignal, this, [script](QByteArray frame, QHostAddress) {
        const uint16_t seq = seqOf(frame);
        const uint8_t cmd = uint8_t(frame.at(3));
        QTimer::singleShot(0, [script, seq, cmd] { script(seq, cmd); });
    });
}

void TestAnswers::inject(const QByteArray &datagram, const QHostAddress &from)
{
    h->handleMessageSlot(datagram, from.isNull() ? m_target : from);
}

void TestAnswers::matchingAnswerSurvivesLaterStray()
{
    // The right answer, then straight away an error answer to an older
    // request: the right one counts.
    answerWith([this](uint16_t seq, uint8_t cmd) {
        inject(answer(seq, cmd, 0x04));
        inject(answer(uint16_t(seq - 1), cmd, 0x10, status(-7)));
    });
    QCOMPARE(h->catchLoader(), ERR_OK);
    QCOMPARE(m_sent.size(), 1);

    // Data of a stray data answer is not taken.
    answerWith([this](uint16_t seq, uint8_t cmd) {
        inject(answer(uint16_t(seq + 3), cmd, 0x40, QByteArray("WRONG!")));
        inject(answer(seq, cmd, 0x40, QByteArray("\x01\x02\x03\x01\x00\x00", 6)));
    });
    SW_VersionInfo v;
    QCOMPARE(h->rdFWVersion(&v), ERR_OK);
    QCOMPARE(int(v.major), 1);
    QCOMPARE(int(v.build), 1);
}

void TestAnswers::strayAnswersCostNoResend()
{
    answerWith([this](uint16_t seq, uint8_t cmd) {
        inject(answer(uint16_t(seq - 1), cmd, 0x04));  // an old acknowledge
        QTimer::singleShot(40, [this, seq, cmd] { inject(answer(seq, cmd, 0x04)); });
    });
    QCOMPARE(h->resetDevice(), ERR_OK);
    QCOMPARE(m_sent.size(), 1);
}

void TestAnswers::unansweredCommandSendsTwoFrames()
{
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(h->catchLoader(), ERR_TIMEOUT);
    QVERIFY(clock.elapsed() >= 190);
    QCOMPARE(m_sent.size(), 2);
    QCOMPARE(seqOf(m_sent.at(1)), uint16_t(seqOf(m_sent.at(0)) + 1));
    QCOMPARE(m_sent.at(0).mid(2), m_sent.at(1).mid(2, 6) + m_sent.at(0).mid(8, 2) + m_sent.at(0).right(2));
}

// The answer arrives in time, but the GUI thread is held up (as by the
// window's first paint on a busy machine) until the time-out has passed as
// well: the answer waiting in the queue counts, and no resend goes out.
void TestAnswers::answerQueuedWhileGuiThreadBusy()
{
    answerWith([this](uint16_t seq, uint8_t cmd) {
        const QByteArray frame = answer(seq, cmd, 0x04);
        // As the socket thread hands a datagram over: queued.
        QMetaObject::invokeMethod(h, [this, frame] { inject(frame); }, Qt::QueuedConnection);
        QThread::msleep(300);  // three times the catch's time-out
    });
    QCOMPARE(h->catchLoader(), ERR_OK);
    QCOMPARE(m_sent.size(), 1);
}

void TestAnswers::errorAnswers_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("result");
    QTest::newRow("status -2") << 0x10 << QByteArray::fromHex("FEFFFFFF") << -2;
    QTest::newRow("status 0 is a refusal") << 0x10 << status(0) << int(ERR_NAK);
    QTest::newRow("positive status is a refusal") << 0x10 << status(5) << int(ERR_NAK);
    QTest::newRow("short status reads zeros: refusal") << 0x10 << QByteArray::fromHex("FEFF") << int(ERR_NAK);
    QTest::newRow("negative acknowledge") << 0x02 << QByteArray() << int(ERR_NAK);
    QTest::newRow("error wins over data") << 0x50 << status(-9) << -9;
}

void TestAnswers::errorAnswers()
{
    QFETCH(int, flags);
    QFETCH(QByteArray, payload);
    QFETCH(int, result);
    answerWith([=](uint16_t seq, uint8_t cmd) { inject(answer(seq, cmd, uint8_t(flags), payload)); });
    QCOMPARE(int(h->resetDevice()), result);
    QCOMPARE(m_sent.size(), 1);
}

void TestAnswers::droppedDatagrams_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("from another address") << 0;
    QTest::newRow("from 127.0.0.1") << 1;
    QTest::newRow("length field over 1490") << 2;
    QTest::newRow("length beyond the datagram") << 3;
    QTest::newRow("crc error") << 4;
    QTest::newRow("odd length field") << 5;
    QTest::newRow("unknown flags") << 6;
    QTest::newRow("still busy (status 1)") << 7;
}

void TestAnswers::droppedDatagrams()
{
    // Each bad answer is dropped; the exchange then takes the good answer
    // that follows it to the resent frame.
    QFETCH(int, kind);
    answerWith([=](uint16_t seq, uint8_t cmd) {
        if (m_sent.size() > 1) {
            inject(answer(seq, cmd, 0x04));
            return;
        }
        QByteArray a = answer(seq, cmd, 0x04, QByteArray(4, 'x'));
        QHostAddress from;
        switch (kind) {
        case 0: from = QHostAddress(QStringLiteral("127.0.2.10")); break;
        case 1: from = QHostAddress(QHostAddress::LocalHost); break;
        case 2: le::put16(reinterpret_cast<uint8_t *>(a.data()) + 4, 1491); a.append(QByteArray(1500, '\0')); break;
        case 3: a.chop(1); break;
        case 4: a[9] = char(a.at(9) ^ 1); break;
        case 5: a = answer(seq, cmd, 0x04, QByteArray(4, 'x')); le::put16(reinterpret_cast<uint8_t *>(a.data()) + 4, 3); break;
        case 6: a = answer(seq, cmd, 0x01); break;
        case 7: a = answer(seq, cmd, 0x10, status(1)); break;
        }
        inject(a, from);
    });
    QCOMPARE(h->resetDevice(), ERR_OK);
    QCOMPARE(m_sent.size(), 2);

    QSignalSpy errors(h, &EthernetHandler::gotMessageError);
    inject(QByteArray(9, '\0'));
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.first().first().value<uint32_t>(), 1u);
}

void TestAnswers::versionAnswers()
{
    QByteArray data;
    answerWith([&](uint16_t seq, uint8_t cmd) { inject(answer(seq, cmd, 0x40, data)); });
    SW_VersionInfo sw;
    data = QByteArray::fromHex("01020300");
    QCOMPARE(h->rdFWVersion(&sw), ERR_TOO_MUCH_DATA);
    data = QByteArray::fromHex("0A0B81D204FF");
    QCOMPARE(h->rdFWVersion(&sw), ERR_OK);
    QCOMPARE(int(sw.major), 10);
    QCOMPARE(int(sw.minor), 11);
    QCOMPARE(int(sw.flags), 0x81);
    QCOMPARE(int(sw.build), 1234);
    HW_VersionInfo hw;
    data = QByteArray();  // (a one-byte answer arrives padded to two)
    QCOMPARE(h->rdHWVersion(&hw), ERR_TOO_MUCH_DATA);
    data = QByteArray::fromHex("0708");
    QCOMPARE(h->rdHWVersion(&hw), ERR_OK);
    QCOMPARE(int(hw.pModule), 7);
    QCOMPARE(int(hw.iModule), 8);
}

void TestAnswers::oversizedChunkSendsNothing()
{
    QCOMPARE(h->wrtData(1, QByteArray(1025, 'x')), ERR_TOO_MUCH_DATA);
    QCOMPARE(m_sent.size(), 0);
    answerWith([this](uint16_t seq, uint8_t cmd) { inject(answer(seq, cmd, 0x04)); });
    QCOMPARE(h->wrtData(7, QByteArray(1024, 'x')), ERR_OK);
    QCOMPARE(m_sent.first().size(), 10 + 1026);  // chunk number, data, pad byte
    QCOMPARE(uint8_t(m_sent.first().at(8)), uint8_t(7));
}

void TestAnswers::sameCommandNestedGivesMutexError()
{
    errorCode_e nested = ERR_OK;
    bool ran = false;
    answerWith([&](uint16_t seq, uint8_t cmd) {
        if (!ran) {
            ran = true;
            QElapsedTimer t;
            t.start();
            nested = h->catchLoader();
            QVERIFY(t.elapsed() >= 45);
        }
        inject(answer(seq, cmd, 0x04));
    });
    QCOMPARE(h->catchLoader(), ERR_OK);
    QCOMPARE(nested, ERR_MUTEX_LOCK);
}

void TestAnswers::sequenceWraps()
{
    h->setNextSequence(65535);
    answerWith([this](uint16_t seq, uint8_t cmd) { inject(answer(seq, cmd, 0x04)); });
    QCOMPARE(h->resetDevice(), ERR_OK);
    QCOMPARE(h->resetDevice(), ERR_OK);
    QCOMPARE(seqOf(m_sent.at(0)), uint16_t(65535));
    QCOMPARE(seqOf(m_sent.at(1)), uint16_t(0));
}

QTEST_MAIN(TestAnswers)
#include "tst_answers.moc"
