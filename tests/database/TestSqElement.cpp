#include "database/SqElement.h"
#include "support/TestEnvironment.h"
#include "ux/TsqTestSequence.h"
#include "ux/TsqTestSequenceElementInsulationTest.h"
#include "ux/TsqTestSequenceElementLeakageTest.h"
#include "ux/TsqTestSequenceElementPatientLeakageTest.h"
#include "ux/TsqTestSequenceElementUserTest.h"

#include <QtTest>
#include <memory>

namespace {

QByteArray recordOf(const Sq::Element& element)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    element.write(out);
    return bytes;
}

std::unique_ptr<Sq::Element> make(int type, const Sq::Parameters& p = {})
{
    return std::unique_ptr<Sq::Element>(Sq::Element::create(quint8(type), p));
}

} // namespace

class TestSqElement : public QObject
{
    Q_OBJECT
private slots:
    void everyKindMatchesTheInstrumentRecord();
    void kindsWithoutAnElement();
    void userTestTextsAreCutNotWrapped();
    void parametersLandWhereTheInstrumentsReadThem();
    void limitsAreWrittenAsTheEditorWritesThem();
};

void TestSqElement::everyKindMatchesTheInstrumentRecord()
{
    const QList<int> types = {1,  17, 21, 32, 33, 34, 46, 47, 48, 49, 50, 51, 64, 66, 67,  69,  70,
                              83, 71, 72, 80, 81, 84, 85, 96, 98, 99, 100, 112, 113, 114, 115, 145};
    for (int type : types) {
        Sq::Parameters p;
        p.duration = 3;
        auto element = make(type, p);
        QVERIFY2(element, qPrintable(QString::number(type)));
        QCOMPARE(int(element->type()), type);
        const QByteArray record = recordOf(*element);
        std::unique_ptr<Ux::TsqTestSequenceElement> expected(Ux::TsqTestSequenceElement::create(quint8(type)));
        QVERIFY(expected);
        // Same length as the instrument library's record of that id, and
        // the length byte tells the truth.
        QCOMPARE(record.size(), int(expected->length));
        QCOMPARE(quint8(record.at(0)), quint8(record.size()));
        QCOMPARE(quint8(record.at(1)), quint8(type));

        QDataStream in(record);
        in.setByteOrder(QDataStream::LittleEndian);
        Ux::TsqTestSequence read;
        in >> read;
        QCOMPARE(in.status(), QDataStream::Ok);
        QCOMPARE(read.size(), 1);
        QCOMPARE(int(read.first()->id), type);
        qDeleteAll(read);
    }

    // An earth bond and an earth leakage make a sequence of 6 + 8 bytes.
    QByteArray blob = recordOf(*make(17)) + recordOf(*make(48));
    QCOMPARE(blob.size(), 14);
}

void TestSqElement::kindsWithoutAnElement()
{
    for (int type : {0, 18, 35, 254, 255, 177})
        QVERIFY2(!make(type), qPrintable(QString::number(type)));
}

void TestSqElement::userTestTextsAreCutNotWrapped()
{
    Sq::Parameters p;
    p.bText = QStringLiteral("Hello");
    p.cText = QStringLiteral("kPa");
    QByteArray record = recordOf(*make(253, p));
    QCOMPARE(record.size(), 12);
    QCOMPARE(quint8(record.at(0)), quint8(12));
    QCOMPARE(record.mid(2), QByteArray("Hello\0kPa\0", 10));

    // 300 + 40 characters would wrap a length byte; the texts are cut to what
    // the instruments hold and the record stays readable.
    p.bText = QString(300, QLatin1Char('n'));
    p.cText = QString(40, QLatin1Char('u'));
    record = recordOf(*make(253, p));
    QCOMPARE(record.size(), 200 + 25 + 4);
    QCOMPARE(quint8(record.at(0)), quint8(record.size()));
    QDataStream in(record);
    in.setByteOrder(QDataStream::LittleEndian);
    Ux::TsqTestSequence read;
    in >> read;
    QCOMPARE(in.status(), QDataStream::Ok);
    auto* user = dynamic_cast<Ux::TsqTestSequenceElementUserTest*>(read.value(0));
    QVERIFY(user);
    QCOMPARE(user->testName, QString(200, QLatin1Char('n')));
    QCOMPARE(user->testUnits, QString(25, QLatin1Char('u')));
    qDeleteAll(read);
}

void TestSqElement::parametersLandWhereTheInstrumentsReadThem()
{
    Sq::Parameters p;
    p.duration = 4;
    p.limit = 0xC0C8;   // 0.2
    p.sfc = 0x43E8;     // 100
    p.noOfTimes = 2;
    p.testCondition = 5;
    p.b = {0x5388, 0x8FA0};
    p.c = {0x43E8};

    // Duration, then the limit low byte first, then the count.
    QCOMPARE(recordOf(*make(17, p)), QByteArray("\x06\x11\x04\xC8\xC0\x02", 6));
    QCOMPARE(recordOf(*make(145, p)), QByteArray("\x03\x91\x02", 3));
    QCOMPARE(recordOf(*make(72, p)), QByteArray("\x07\x48\x04\x88\x53\xE8\x43", 7));
    // Missing list values are 0, in the form the sequence editor writes it.
    QCOMPARE(recordOf(*make(96, p)), QByteArray("\x0C\x60\x04\x88\x53\xA0\x8F\xE8\x43\x00\xC0\x05", 12));

    // The two tests the instruments read differently from the first version.
    QDataStream in(recordOf(*make(113, p)) + recordOf(*make(114, p)));
    in.setByteOrder(QDataStream::LittleEndian);
    Ux::TsqTestSequence read;
    in >> read;
    QCOMPARE(read.size(), 2);
    auto* apToAp = dynamic_cast<Ux::TsqTestSequenceElementPatientLeakageTest*>(read.at(0));
    QVERIFY(apToAp);
    QCOMPARE(apToAp->duration, quint8(4));
    for (int connectionClass = 0; connectionClass < 3; ++connectionClass) {
        QCOMPARE(float(apToAp->limits[connectionClass * 4]), 0.2f);
        QCOMPARE(apToAp->limits[connectionClass * 4 + 2], 100.0);
    }
    QCOMPARE(apToAp->conditions.conditions, quint8(5));
    auto* apToAll = dynamic_cast<Ux::TsqTestSequenceElementInsulationTest*>(read.at(1));
    QVERIFY(apToAll);
    QCOMPARE(float(apToAll->limit), 0.2f);
    QCOMPARE(apToAll->numberOfTests, quint8(2));
    qDeleteAll(read);
}

void TestSqElement::limitsAreWrittenAsTheEditorWritesThem()
{
    Sq::Parameters p;
    p.limit = 0x01F4;   // 500 with no decimals
    p.sfc = 0;          // an empty limit
    // 0.5 with two decimals, then two values the editor's form cannot hold:
    // 1638.3 and 16383.
    p.b = {0x8032, 0x7FFF};
    p.c = {0x3FFF};

    const QByteArray leakage = recordOf(*make(48, p));
    QCOMPARE(leakage, QByteArray("\x08\x30\x00\x88\x53\x00\xC0\x00", 8));
    const QByteArray appliedPart = recordOf(*make(71, p));
    QCOMPARE(appliedPart, QByteArray("\x07\x47\x00\xF4\xC1\xFF\x3F", 7));
    const QByteArray patientF = recordOf(*make(96, p));
    QCOMPARE(patientF.mid(3, 8), QByteArray("\xF4\xC1\xFF\x7F\xFF\x3F\x00\xC0", 8));

    // The instrument library reads the same values and writes the same bytes.
    QDataStream in(leakage + appliedPart + patientF);
    in.setByteOrder(QDataStream::LittleEndian);
    Ux::TsqTestSequence read;
    in >> read;
    QCOMPARE(read.size(), 3);
    auto* earth = dynamic_cast<Ux::TsqTestSequenceElementLeakageTest*>(read.at(0));
    QVERIFY(earth);
    QCOMPARE(earth->limit, 500.0);
    QCOMPARE(earth->sfcLimit, 0.0);
    QByteArray again;
    QDataStream out(&again, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    read.at(0)->write(out, true);
    QCOMPARE(again, leakage);
    qDeleteAll(read);
}

PELVANE_TEST_MAIN(TestSqElement)
#include "TestSqElement.moc"
