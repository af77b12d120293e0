#include "support/TestEnvironment.h"
#include "ux/EquipmentClassString.h"
#include "ux/InstrumentTypeString.h"
#include "ux/MainsPolarityString.h"
#include "ux/PatientConnectionTypeString.h"
#include "ux/ResultACDCString.h"
#include "ux/SingleFaultConditionString.h"
#include "ux/StatusString.h"
#include "ux/TestModeString.h"
#include "ux/TestTypeString.h"

#include <QTranslator>
#include <QtTest>

using namespace Ux;

namespace {

// Translates every text to "T:" + source, so that a test can tell which texts
// went through the translator and which were returned as they stand.
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override
    {
        Q_UNUSED(n);
        lastContext = QString::fromLatin1(context);
        lastComment = QString::fromLatin1(disambiguation ? disambiguation : "");
        return QStringLiteral("T:") + QString::fromUtf8(sourceText);
    }
    bool isEmpty() const override { return false; }
    mutable QString lastContext;
    mutable QString lastComment;
};

} // namespace

class TestCodeTables : public QObject
{
    Q_OBJECT
private slots:
    void statusTexts();
    void instrumentTypes();
    void modesAndTypes();
    void patientConnections();
    void conditionTexts();
    void equipmentClasses();
    void fallbacksTranslatedOnlyWhereTheTableSays();
    void reverseLookupsUseTranslatedNames();
};

void TestCodeTables::statusTexts()
{
    QCOMPARE(StatusString::toString(-1), QString());
    QCOMPARE(StatusString::toString(0), QStringLiteral("Deleted"));
    QCOMPARE(StatusString::toString(1), QStringLiteral("Pass"));
    QCOMPARE(StatusString::toString(2), QStringLiteral("Fail"));
    QCOMPARE(StatusString::toString(4), QStringLiteral("Info"));
    QCOMPARE(StatusString::toString(5), QStringLiteral("Alert"));
    QCOMPARE(StatusString::toString(255), QStringLiteral("Uploaded"));
    for (int code : {3, 6, 254, 256, -2})
        QCOMPARE(StatusString::toString(code), QStringLiteral("?"));
}

void TestCodeTables::instrumentTypes()
{
    QCOMPARE(InstrumentTypeString::toString(0), QString());
    QCOMPARE(InstrumentTypeString::toString(1), QStringLiteral("Tavisk Q1"));
    QCOMPARE(InstrumentTypeString::toString(2), QStringLiteral("Tavisk Q2"));
    QCOMPARE(InstrumentTypeString::toString(4), QStringLiteral("Tavisk Presso"));
    QCOMPARE(InstrumentTypeString::toString(8), QStringLiteral("Tavisk Oxilo"));
    QCOMPARE(InstrumentTypeString::toString(16), QStringLiteral("Tavisk Corvix"));
    QCOMPARE(InstrumentTypeString::toString(32), QStringLiteral("Tavisk Q3"));
    QCOMPARE(InstrumentTypeString::toString(3), QStringLiteral("?"));
    QCOMPARE(InstrumentTypeString::toString(64), QStringLiteral("?"));

    for (int type : {1, 2, 4, 8, 16, 32})
        QCOMPARE(InstrumentTypeString::fromName(InstrumentTypeString::toString(type)), type);
    QCOMPARE(InstrumentTypeString::fromName(QString()), 0);
    QCOMPARE(InstrumentTypeString::fromName(QStringLiteral("tavisk q1")), 0);
    QCOMPARE(InstrumentTypeString::fromName(QStringLiteral("Tavisk Q1 ")), 0);
}

void TestCodeTables::modesAndTypes()
{
    QCOMPARE(TestModeString::toString(0), QStringLiteral("Manual"));
    QCOMPARE(TestModeString::toString(1), QStringLiteral("Semi-automatic"));
    QCOMPARE(TestModeString::toString(2), QStringLiteral("Automatic"));
    QCOMPARE(TestModeString::toString(3), QStringLiteral("?"));
    QCOMPARE(TestTypeString::toString(-1), QStringLiteral("Unknown"));
    QCOMPARE(TestTypeString::toString(1), QStringLiteral("Visual Only"));
    QCOMPARE(TestTypeString::toString(2), QStringLiteral("Full test"));
    QCOMPARE(TestTypeString::toString(0), QStringLiteral("?"));
}

void TestCodeTables::patientConnections()
{
    QCOMPARE(PatientConnectionTypeString::toString(1, true), QStringLiteral("B"));
    QCOMPARE(PatientConnectionTypeString::toString(2, true), QStringLiteral("BF"));
    QCOMPARE(PatientConnectionTypeString::toString(3, true), QStringLiteral("CF"));
    QCOMPARE(PatientConnectionTypeString::toString(1, false), QStringLiteral("Type B"));
    QCOMPARE(PatientConnectionTypeString::toString(2, false), QStringLiteral("Type BF"));
    QCOMPARE(PatientConnectionTypeString::toString(3, false), QStringLiteral("Type CF"));
    QCOMPARE(PatientConnectionTypeString::toString(0, true), QStringLiteral("?"));
    QCOMPARE(PatientConnectionTypeString::toString(0, false), QStringLiteral("?"));

    QCOMPARE(PatientConnectionTypeString::fromString(QStringLiteral("B")), 1);
    QCOMPARE(PatientConnectionTypeString::fromString(QStringLiteral("Type B")), 1);
    QCOMPARE(PatientConnectionTypeString::fromString(QStringLiteral("BF")), 2);
    QCOMPARE(PatientConnectionTypeString::fromString(QStringLiteral("Type BF")), 2);
    QCOMPARE(PatientConnectionTypeString::fromString(QStringLiteral("CF")), 3);
    QCOMPARE(PatientConnectionTypeString::fromString(QStringLiteral("Type CF")), 3);
    QCOMPARE(PatientConnectionTypeString::fromString(QStringLiteral("cf")), 0);
    QCOMPARE(PatientConnectionTypeString::fromString(QStringLiteral("?")), 0);
}

void TestCodeTables::conditionTexts()
{
    QCOMPARE(ResultACDCString::toString(0), QStringLiteral("AC/DC combined"));
    QCOMPARE(ResultACDCString::toString(1), QStringLiteral("AC"));
    QCOMPARE(ResultACDCString::toString(2), QStringLiteral("DC"));
    QCOMPARE(ResultACDCString::toString(3), QStringLiteral("?"));
    QCOMPARE(SingleFaultConditionString::toString(2), QStringLiteral("Neutral O/C"));
    QCOMPARE(SingleFaultConditionString::toString(4), QStringLiteral("Earth O/C"));
    QCOMPARE(SingleFaultConditionString::toString(8), QStringLiteral("Source Reversed"));
    QCOMPARE(SingleFaultConditionString::toString(0), QStringLiteral(" - "));
    QCOMPARE(SingleFaultConditionString::toString(1), QStringLiteral(" - "));
    QCOMPARE(SingleFaultConditionString::toString(6), QStringLiteral(" - "));
    QCOMPARE(MainsPolarityString::toString(0), QStringLiteral("Normal"));
    QCOMPARE(MainsPolarityString::toString(1), QStringLiteral("Reversed"));
    QCOMPARE(MainsPolarityString::toString(7), QStringLiteral("Normal"));
}

void TestCodeTables::equipmentClasses()
{
    QCOMPARE(EquipmentClassString::toString(0), QStringLiteral(" - "));
    QCOMPARE(EquipmentClassString::toString(1), QStringLiteral("Class I"));
    QCOMPARE(EquipmentClassString::toString(2), QStringLiteral("Class II"));
    QCOMPARE(EquipmentClassString::toString(3), QStringLiteral("?"));
    QCOMPARE(EquipmentClassString::toString(-1), QStringLiteral("?"));
}

void TestCodeTables::fallbacksTranslatedOnlyWhereTheTableSays()
{
    MarkingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));

    QCOMPARE(StatusString::toString(1), QStringLiteral("T:Pass"));
    QCOMPARE(translator.lastContext, QStringLiteral("Ux::StatusString"));
    QCOMPARE(translator.lastComment, QStringLiteral("The result is a pass"));

    // Plain untranslated fallbacks.
    QCOMPARE(StatusString::toString(3), QStringLiteral("?"));
    QCOMPARE(InstrumentTypeString::toString(3), QStringLiteral("?"));
    QCOMPARE(TestModeString::toString(9), QStringLiteral("?"));
    QCOMPARE(TestTypeString::toString(9), QStringLiteral("?"));
    QCOMPARE(PatientConnectionTypeString::toString(9, false), QStringLiteral("?"));

    // Fallbacks with a translator comment go through the translator.
    QCOMPARE(ResultACDCString::toString(9), QStringLiteral("T:?"));
    QCOMPARE(translator.lastContext, QStringLiteral("Ux::ResultACDCString"));
    QCOMPARE(translator.lastComment, QStringLiteral("Unknown AC/DC test"));
    QCOMPARE(EquipmentClassString::toString(9), QStringLiteral("T:?"));
    QCOMPARE(translator.lastComment, QStringLiteral("Unknown equipment class"));
    QCOMPARE(SingleFaultConditionString::toString(0), QStringLiteral("T: - "));
    QCOMPARE(MainsPolarityString::toString(5), QStringLiteral("T:Normal"));
    QCOMPARE(translator.lastContext, QStringLiteral("Ux::MainsPolarityString"));

    QCoreApplication::removeTranslator(&translator);
}

void TestCodeTables::reverseLookupsUseTranslatedNames()
{
    MarkingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    QCOMPARE(InstrumentTypeString::fromName(QStringLiteral("T:Tavisk Corvix")), 16);
    QCOMPARE(InstrumentTypeString::fromName(QStringLiteral("Tavisk Corvix")), 0);
    QCOMPARE(PatientConnectionTypeString::fromString(QStringLiteral("T:Type BF")), 2);
    QCOMPARE(PatientConnectionTypeString::fromString(QStringLiteral("BF")), 0);
    QCoreApplication::removeTranslator(&translator);
}

PELVANE_TEST_MAIN(TestCodeTables)
#include "TestCodeTables.moc"
