#include <QtTest>

#include "errordecode.h"

class TestErrorDecode : public QObject
{
    Q_OBJECT

private slots:
    void texts_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        const QList<QPair<int, const char *>> table{
            {-1, "incorrect data size"},     {-16, "invalid param"},
            {-17, "not supported function/feature"}, {-18, "invalid configuration"},
            {-25, "response error"},         {-26, "timeout happend"},
            {-100, "file not found"},        {-101, "file read error"},
            {-102, "file write error"},      {-103, "invalid file"},
            {-1001, "invalid value"},        {-1100, "already waiting for response"},
            {-1300, "not supported data selected"}, {-1301, "data not ready for read"},
            {-1302, "wrong Sequence number"}, {-1400, "data acquisition in progress"},
            {-1500, "error reset failed"},
            {0, ""}, {-2, ""}, {-300, ""}, {-301, ""}, {-307, ""}, {12345, ""}, {INT32_MIN, ""},
        };
        for (const auto &row : table)
            QTest::newRow(qPrintable(QString::number(row.first))) << row.first << QString::fromLatin1(row.second);
    }
    void texts()
    {
        QFETCH(int, value);
        QFETCH(QString, text);
        QCOMPARE(ErrorDecode::decode(value), text);
    }

    void messageWithoutText()
    {
        const QString message = QStringLiteral("Read device name failed. Error: %1 Errorcode: %2")
                                    .arg(ErrorDecode::decode(-2))
                                    .arg(-2);
        QCOMPARE(message, QStringLiteral("Read device name failed. Error:  Errorcode: -2"));
    }
};

QTEST_APPLESS_MAIN(TestErrorDecode)
#include "tst_errordecode.moc"
