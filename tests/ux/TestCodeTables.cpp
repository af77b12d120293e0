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
    void texts();
    void reverseLookups();
    void fallbacksTranslatedOnlyWhereTheTableSays();
};

void TestCodeTables::texts()
{
    using Text = QString (*)(int);
    const Text status = StatusString::toString, instrument = InstrumentTypeString::toString,
               mode = TestModeString::toString, type = TestTypeString::toString,
               acDc = ResultACDCString::toString, fault = SingleFaultConditionString::toString,
               polarity = MainsPolarityString::toString, equipment = EquipmentClassString::toString;
    const Text shortPart = [](int code) { return PatientConnectionTypeString::toString(code, true); };
    const Text longPart = [](int code) { return PatientConnectionTypeString::toString(code, false); };
    struct Row { Text text; int code; const char* expected; };
    const Row rows[] = {
        {status, -1, ""}, {status, 0, "Deleted"}, {status, 1, "Pass"}, {status, 2, "Fail"}, {status, 4, "Info"},
        {status, 5, "Alert"}, {status, 255, "Uploaded"}, {status, 3, "?"}, {status, 256, "?"},
        {instrument, 0, ""}, {instrument, 1, "Tavisk Q1"}, {instrument, 2, "Tavisk Q2"}, {instrument, 4, "Tavisk Presso"},
        {instrument, 8, "Tavisk Oxilo"}, {instrument, 16, "Tavisk Corvix"}, {instrument, 32, "Tavisk Q3"},
        {instrument, 3, "?"}, {instrument, 64, "?"},
        {mode, 0, "Manual"}, {mode, 1, "Semi-automatic"}, {mode, 2, "Automatic"}, {mode, 3, "?"},
        {type, -1, "Unknown"}, {type, 1, "Visual Only"}, {type, 2, "Full test"}, {type, 0, "?"},
        {shortPart, 1, "B"}, {shortPart, 2, "BF"}, {shortPart, 3, "CF"}, {shortPart, 0, "?"},
        {longPart, 1, "Type B"}, {longPart, 2, "Type BF"}, {longPart, 3, "Type CF"}, {longPart, 0, "?"},
        {acDc, 0, "AC/DC combined"}, {acDc, 1, "AC"}, {acDc, 2, "DC"}, {acDc, 3, "?"},
        {fault, 2, "Neutral O/C"}, {fault, 4, "Earth O/C"}, {fault, 8, "Source Reversed"}, {fault, 0, " - "},
        {fault, 1, " - "}, {fault, 6, " - "},
        {polarity, 0, "Normal"}, {polarity, 1, "Reversed"}, {polarity, 7, "Normal"},
        {equipment, 0, " - "}, {equipment, 1, "Class I"}, {equipment, 2, "Class II"}, {equipment, 3, "?"},
        {equipment, -1, "?"},
    };
    for (const Row& row : rows)
        QCOMPARE(row.text(row.code), QString::fromUtf8(row.expected));
}

void TestCodeTables::reverseLookups()
{
    for (int type : {1, 2, 4, 8, 16, 32})
        QCOMPARE(InstrumentTypeString::fromName(InstrumentTypeString::toString(type)), type);
    for (const char* name : {"", "tavisk q1", "Tavisk Q1 "})
        QCOMPARE(InstrumentTypeString::fromName(QString::fromUtf8(name)), 0);
    const QList<QPair<const char*, int>> parts = {{"B", 1},  {"Type B", 1},  {"BF", 2}, {"Type BF", 2},
                                                  {"CF", 3}, {"Type CF", 3}, {"cf", 0}, {"?", 0}};
    for (const auto& [name, code] : parts)
        QCOMPARE(PatientConnectionTypeString::fromString(QString::fromUtf8(name)), code);
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

    // Reverse lookups compare with the translated names.
    QCOMPARE(InstrumentTypeString::fromName(QStringLiteral("T:Tavisk Corvix")), 16);
    QCOMPARE(InstrumentTypeString::fromName(QStringLiteral("Tavisk Corvix")), 0);
    QCOMPARE(PatientConnectionTypeString::fromString(QStringLiteral("T:Type BF")), 2);
    QCOMPARE(PatientConnectionTypeString::fromString(QStringLiteral("BF")), 0);
    QCoreApplication::removeTranslator(&translator);
}

PELVANE_TEST_MAIN(TestCodeTables)
#include "TestCodeTables.moc"
