#include "support/SimulatedInstrument.h"
#include "support/TestEnvironment.h"
#include "ux/SerialPort.h"
#include "ux/TransferEscaped.h"

#include <QSignalSpy>
#include <QtTest>

class TestTransferEscaped : public QObject
{
    Q_OBJECT
private slots:
    void escapeAndUnescape_data();
    void escapeAndUnescape();
    void pairsAcrossChunksAndStreams();
    void overTheLine();
};

void TestTransferEscaped::escapeAndUnescape_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("mixed") << QByteArray::fromHex("0102037f80") << QByteArray::fromHex("017ff27ff37f7f80");
    QTest::newRow("untouched") << QByteArray::fromHex("000104f2f37e81ff")
                               << QByteArray::fromHex("000104f2f37e81ff");
    QTest::newRow("runs") << QByteArray::fromHex("7f7f0202") << QByteArray::fromHex("7f7f7f7f7ff27ff2");
}

void TestTransferEscaped::escapeAndUnescape()
{
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, wire);
    QCOMPARE(Ux::TransferEscaped::escape(plain), wire);
    Ux::TransferEscaped stream(nullptr);
    QCOMPARE(stream.unescape(wire), plain);
    QVERIFY(!stream.escapePending());
}

void TestTransferEscaped::pairsAcrossChunksAndStreams()
{
    Ux::TransferEscaped stream(nullptr);
    // An unknown pair gives a zero byte.
    QCOMPARE(stream.unescape(QByteArray::fromHex("7f41")), QByteArray(1, '\0'));
    QCOMPARE(stream.unescape(QByteArray::fromHex("417f")), QByteArray::fromHex("41"));
    QVERIFY(stream.escapePending());
    // An escape left over by one transfer must not change another one.
    Ux::TransferEscaped other(nullptr);
    QCOMPARE(other.unescape(QByteArray::fromHex("f3")), QByteArray::fromHex("f3"));
    QCOMPARE(stream.unescape(QByteArray::fromHex("f242")), QByteArray::fromHex("0242"));
    QVERIFY(!stream.escapePending());
}

void TestTransferEscaped::overTheLine()
{
    SimulatedInstrument instrument;
    QVERIFY2(instrument.isValid(), qPrintable(instrument.errorString()));
    Ux::SerialPort port;
    QVERIFY(port.open(instrument.portName(), 9600));
    Ux::TransferEscaped stream(&port);
    QSignalSpy chunks(&stream, &Ux::TransferEscaped::readUnescaped);

    // An empty poll hands nothing on.
    QVERIFY(!port.read(100));
    QCOMPARE(chunks.count(), 0);

    QVERIFY(instrument.sendRaw(QByteArray::fromHex("7ff2417f7f")));
    QVERIFY(instrument.waitUntilPending(5));
    QVERIFY(port.read(100));
    QCOMPARE(chunks.count(), 1);
    QCOMPARE(chunks.at(0).at(0).toByteArray(), QByteArray::fromHex("02417f"));

    QCOMPARE(stream.write(QByteArray::fromHex("0300")), qint64(3));
    QVERIFY(instrument.waitForReceived(3));
    QCOMPARE(instrument.received(), QByteArray::fromHex("7ff300"));
}

PELVANE_TEST_MAIN(TestTransferEscaped)
#include "TestTransferEscaped.moc"
