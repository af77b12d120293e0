#include "MessageCapture.h"
#include "support/TestEnvironment.h"
#include "ux/TsqConditionByte.h"
#include "ux/TsqPatval.h"
#include "ux/TsqResultStatusByte.h"
#include "ux/TsqScaled.h"
#include "ux/TsqText.h"

#include <QtTest>
#include <cmath>

using namespace Ux;

namespace {

const QString belowZero = QStringLiteral("Warning - Patval <0. Setting to 0");
const QString aboveRange = QStringLiteral("Warning - Patval >15500.0 Setting to 15500.0");

template <typename Fn>
QByteArray written(Fn fn)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    fn(stream);
    return bytes;
}

} // namespace

class TestTsqEncodings : public QObject
{
    Q_OBJECT
private slots:
    void patvalGoldenBytes_data();
    void patvalGoldenBytes();
    void patvalClamping();
    void terminatedTexts();
    void terminatedTextLimits();
    void fixedTexts();
    void charactersOutsideLatin1();
    void scaledFields();
};

void TestTsqEncodings::patvalGoldenBytes_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<float>("decoded");
    QTest::newRow("0.2") << 0.2f << QByteArray::fromHex("C8C0") << 0.2f;
    QTest::newRow("0.15") << 0.15f << QByteArray::fromHex("96C0") << 0.15f;
    QTest::newRow("1.0") << 1.0f << QByteArray::fromHex("E8C3") << 1.0f;
    QTest::newRow("2.0") << 2.0f << QByteArray::fromHex("D0C7") << 2.0f;
    QTest::newRow("50") << 50.0f << QByteArray::fromHex("8893") << 50.0f;
    QTest::newRow("70") << 70.0f << QByteArray::fromHex("589B") << 70.0f;
    QTest::newRow("500") << 500.0f << QByteArray::fromHex("8853") << 500.0f;
    QTest::newRow("5000") << 5000.0f << QByteArray::fromHex("8813") << 5000.0f;
    QTest::newRow("15500") << 15500.0f << QByteArray::fromHex("8C3C") << 15500.0f;
    QTest::newRow("0") << 0.0f << QByteArray::fromHex("00C0") << 0.0f;
    // Rounding carries into the next magnitude but keeps the decimals.
    QTest::newRow("9.9995") << 9.9995f << QByteArray::fromHex("10E7") << 10.0f;
    QTest::newRow("99.995") << 99.995f << QByteArray::fromHex("10A7") << 100.0f;
    QTest::newRow("999.96") << 999.96f << QByteArray::fromHex("1067") << 1000.0f;
    QTest::newRow("999.99") << 999.99f << QByteArray::fromHex("1067") << 1000.0f;
    QTest::newRow("999.94") << 999.94f << QByteArray::fromHex("0F67") << 999.9f;
    QTest::newRow("1000.5") << 1000.5f << QByteArray::fromHex("E903") << 1001.0f;
}

void TestTsqEncodings::patvalGoldenBytes()
{
    QFETCH(float, value);
    QFETCH(QByteArray, bytes);
    QFETCH(float, decoded);
    MessageCapture capture;
    QCOMPARE(written([&](QDataStream& s) { TsqPatval::write(s, value); }), bytes);
    QCOMPARE(written([&](QDataStream& s) { s << TsqPatval(value); }), bytes);
    QVERIFY(capture.lines().isEmpty());

    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    QCOMPARE(float(TsqPatval::read(in)), decoded);
}

void TestTsqEncodings::patvalClamping()
{
    MessageCapture capture;
    QCOMPARE(TsqPatval::encode(15500.5f), quint16(0x3C8C));
    QCOMPARE(TsqPatval::encode(16000.0f), quint16(0x3C8C));
    QCOMPARE(TsqPatval::encode(INFINITY), quint16(0x3C8C));
    QCOMPARE(capture.count(aboveRange), 3);
    QCOMPARE(TsqPatval::encode(-0.001f), quint16(0xC000));
    QCOMPARE(TsqPatval::encode(-5000.0f), quint16(0xC000));
    QCOMPARE(TsqPatval::encode(NAN), quint16(0xC000));
    QCOMPARE(capture.count(belowZero), 3);
    QCOMPARE(capture.lines().size(), 6);
    capture.clear();
    // Doubles far beyond single precision clamp the same way.
    QCOMPARE(written([](QDataStream& s) { TsqPatval::write(s, 1.0e300); }), QByteArray::fromHex("8C3C"));
    QCOMPARE(capture.count(aboveRange), 1);
    QCOMPARE(TsqPatval().word, quint16(0));
}

void TestTsqEncodings::terminatedTexts()
{
    QCOMPARE(written([](QDataStream& s) { TsqText::writeTerminated(s, QStringLiteral("AB"), 25); }),
             QByteArray::fromHex("414200"));
    QCOMPARE(written([](QDataStream& s) { TsqText::writeTerminated(s, QString(), 25); }),
             QByteArray::fromHex("00"));

    const QByteArray source = QByteArray::fromHex("4142004344");
    QDataStream in(source);
    QCOMPARE(TsqText::readTerminated(in, 25), QStringLiteral("AB"));
    // The terminator was consumed; the next text starts after it and stops at the end.
    QCOMPARE(TsqText::readTerminated(in, 25), QStringLiteral("CD"));
    QCOMPARE(in.status(), QDataStream::Ok);
    QVERIFY(in.atEnd());

    // Without a limit, and unterminated at the end of the data.
    QCOMPARE(written([](QDataStream& s) { TsqText::writeTerminated(s, QStringLiteral("01.03.2010")); }),
             QByteArray::fromHex("30312E30332E3230313000"));
    const QByteArray unterminated("1.2");
    QDataStream rest(unterminated);
    QCOMPARE(TsqText::readTerminated(rest), QStringLiteral("1.2"));
    QCOMPARE(TsqText::readTerminated(rest), QString());
}

void TestTsqEncodings::terminatedTextLimits()
{
    const QString name(40, QLatin1Char('N'));
    const QByteArray bytes = written([&](QDataStream& s) { TsqText::writeTerminated(s, name, 31); });
    QCOMPARE(bytes.size(), 32);
    QCOMPARE(bytes, QByteArray(31, 'N') + QByteArray(1, '\0'));
    QDataStream back(bytes);
    QCOMPARE(TsqText::readTerminated(back, 31), QString(31, QLatin1Char('N')));
    QCOMPARE(TsqText::writtenLength(name, 31), 31);

    // 32 non-zero bytes with a limit of 31: all 32 are taken, the 33rd stays.
    const QByteArray full = QByteArray(32, 'x') + QByteArray("yz");
    QDataStream in(full);
    QCOMPARE(TsqText::readTerminated(in, 31), QString(32, QLatin1Char('x')));
    quint8 next = 0;
    in >> next;
    QCOMPARE(next, quint8('y'));
}

void TestTsqEncodings::fixedTexts()
{
    const QByteArray ab = written([](QDataStream& s) { TsqText::writeFixed(s, QStringLiteral("Q"), 20); });
    QCOMPARE(ab, QByteArray::fromHex("51") + QByteArray(19, '\0'));
    const QByteArray cut = written([](QDataStream& s) {
        TsqText::writeFixed(s, QString(25, QLatin1Char('T')), 20);
    });
    QCOMPARE(cut, QByteArray(19, 'T') + QByteArray(1, '\0'));

    const QByteArray gap = QByteArray::fromHex("414200434400000000000000000000000000000045");
    QDataStream in(gap);
    QCOMPARE(TsqText::readFixed(in, 20), QStringLiteral("ABCD"));
    QCOMPARE(in.status(), QDataStream::Ok);
    quint8 next = 0;
    in >> next;
    QCOMPARE(next, quint8('E'));

    const QByteArray shortField("ABC");
    QDataStream past(shortField);
    QCOMPARE(TsqText::readFixed(past, 16), QStringLiteral("ABC"));
    QCOMPARE(past.status(), QDataStream::ReadPastEnd);
}

void TestTsqEncodings::charactersOutsideLatin1()
{
    const QString text = QStringLiteral("A") + QChar(0x03A9) + QStringLiteral("B") + QChar(0x00B5);
    QCOMPARE(written([&](QDataStream& s) { TsqText::writeTerminated(s, text, 25); }),
             QByteArray::fromHex("413F42B500"));
    QCOMPARE(written([&](QDataStream& s) { TsqText::writeFixed(s, text, 5); }),
             QByteArray::fromHex("413F42B500"));
    // A NUL inside a text cannot stand in a one-byte text either: written as
    // a 0 byte it would end the text early and shift every later field.
    const QString nul = QStringLiteral("A") + QChar(0) + QStringLiteral("B");
    const QByteArray record = written([&](QDataStream& s) {
        TsqText::writeTerminated(s, nul, 25);
        TsqText::writeFixed(s, nul, 5);
        TsqText::writeTerminated(s, QStringLiteral("next"));
    });
    QCOMPARE(record, QByteArray::fromHex("413F4200") + QByteArray::fromHex("413F420000") + QByteArray("next", 5));
    QDataStream fields(record);
    QCOMPARE(TsqText::readTerminated(fields, 25), QStringLiteral("A?B"));
    QCOMPARE(TsqText::readFixed(fields, 5), QStringLiteral("A?B"));
    QCOMPARE(TsqText::readTerminated(fields), QStringLiteral("next"));

    QByteArray latin = QByteArray::fromHex("B5E900");
    QDataStream in(latin);
    QCOMPARE(TsqText::readTerminated(in, 5), QString(QChar(0xB5)) + QChar(0xE9));
}

void TestTsqEncodings::scaledFields()
{
    const QList<QPair<double, const char*>> bytes = {{0.29, "02"}, {5.0, "32"}, {30.0, "2C"}, {-1.0, "00"}};
    for (const auto& [value, hex] : bytes)
        QCOMPARE(written([v = value](QDataStream& s) { TsqScaled::writeByte(s, v); }), QByteArray::fromHex(hex));
    QCOMPARE(written([](QDataStream& s) { TsqScaled::writeWord(s, 90.0); }), QByteArray::fromHex("8403"));
    QCOMPARE(written([](QDataStream& s) { TsqScaled::writeWord(s, NAN); }), QByteArray::fromHex("0000"));
    QCOMPARE(written([](QDataStream& s) { TsqScaled::writeWord(s, 1.0e30); }).size(), 2);

    const QByteArray data = QByteArray::fromHex("328403");
    QDataStream in(data);
    in.setByteOrder(QDataStream::LittleEndian);
    QCOMPARE(TsqScaled::readByte(in), 5.0);
    QCOMPARE(TsqScaled::readWord(in), 90.0);
}

PELVANE_TEST_MAIN(TestTsqEncodings)
#include "TestTsqEncodings.moc"
