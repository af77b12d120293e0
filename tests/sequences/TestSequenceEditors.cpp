#include "sequences/TestSequence.h"
#include "sequences/TestSequenceWidget.h"
#include "sequences/TestSequenceWidgetContainer.h"
#include "support/TestEnvironment.h"
#include "ux/TsqTestSequence.h"
#include "ux/TsqTestSequenceElementCorvixSetOxiloSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIODevice>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

QByteArray record(Ux::TsqTestSequenceElement* element)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    element->write(out, true);
    return bytes;
}

// The one element of a stored record, as the sequence reader gives it.
std::unique_ptr<Ux::TsqTestSequenceElement> parse(const QByteArray& bytes)
{
    Ux::TsqTestSequence elements;
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    in >> elements;
    if (elements.size() != 1) {
        qDeleteAll(elements);
        return nullptr;
    }
    return std::unique_ptr<Ux::TsqTestSequenceElement>(elements.first());
}

// Typing characters that have no key of their own.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

// Each element editor: what a new element holds, that a stored element comes
// back unchanged, and that every field is written by its own widget with one
// change notice per edit; list fields store the position of the chosen entry,
// the pulse volume its value.
class TestSequenceEditors : public QObject
{
    Q_OBJECT
private slots:
    void newElementPerEquipmentClass_data();
    void newElementPerEquipmentClass();
    void oneEditPerField_data();
    void oneEditPerField();
    void userTestTextsStayWithinTheInstrumentCharacters();
    void leakageConditionsFollowTheElementsMask();
    void appliedPartDurationIsTakenWhenEditingEnds();
    void numbersReadTheSameInAnyLocale();
    void simulatorFieldsShownAndBounded();

private:
    // The editor in its frame, as the list holds it.
    TestSequenceWidget* build(quint8 id, Ux::TsqTestSequenceElement* element, int equipmentClass = 1);

    std::unique_ptr<TestSequence> m_list;
    std::unique_ptr<TestSequenceWidgetContainer> m_frame;
};

TestSequenceWidget* TestSequenceEditors::build(quint8 id, Ux::TsqTestSequenceElement* element, int equipmentClass)
{
    m_list = std::make_unique<TestSequence>();
    m_list->setEquipmentClass(equipmentClass);
    m_frame.reset(m_list->createElementWidget(id, element));
    if (!m_frame)
        return nullptr;
    return m_frame->widget();
}

void TestSequenceEditors::newElementPerEquipmentClass_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("equipmentClass");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty") << 1 << 0 << QByteArrayLiteral("0201");
    QTest::newRow("empty177") << 177 << 1 << QByteArrayLiteral("02b1");
    QTest::newRow("resistance") << 17 << 1 << QByteArrayLiteral("061102c8c001");
    QTest::newRow("insulation33 none") << 33 << 0 << QByteArrayLiteral("062102e8c301");
    QTest::newRow("insulation33 I") << 33 << 1 << QByteArrayLiteral("062102e8c301");
    QTest::newRow("insulation33 II") << 33 << 2 << QByteArrayLiteral("062102d0c701");
    QTest::newRow("insulation46 II") << 46 << 2 << QByteArrayLiteral("062e02589b01");
    QTest::newRow("iec") << 145 << 1 << QByteArrayLiteral("039101");
    QTest::newRow("leakage48") << 48 << 1 << QByteArrayLiteral("0830028813102703");
    QTest::newRow("leakage64 I") << 64 << 1 << QByteArrayLiteral("084002e843885307");
    QTest::newRow("leakage64 II") << 64 << 2 << QByteArrayLiteral("084002e843885305");
    QTest::newRow("leakage70 II") << 70 << 2 << QByteArrayLiteral("0846028853885300");
    QTest::newRow("leakage70 I") << 70 << 1 << QByteArrayLiteral("084602e803e80300");
    QTest::newRow("apleakage") << 71 << 1 << QByteArrayLiteral("07470288138893");
    QTest::newRow("patient80 I") << 80 << 1 << QByteArrayLiteral("1c5002e843e88388538893e843e88388538893e883e8838893889307");
    QTest::newRow("patient80 II") << 80 << 2 << QByteArrayLiteral("1c5002e843e88388538893e843e88388538893e883e8838893889303");
    QTest::newRow("patientF96") << 96 << 1 << QByteArrayLiteral("0c6002881388138893889309");
    QTest::newRow("patientF98") << 98 << 0 << QByteArrayLiteral("0c6202c489c489c489c48909");
    QTest::newRow("user") << 253 << 1 << QByteArrayLiteral("04fd0000");
    QTest::newRow("nibp leak 176") << 176 << 1 << QByteArrayLiteral("06b0c8001e00");
    QTest::newRow("nibp static 190") << 190 << 1 << QByteArrayLiteral("06bec8001400");
    QTest::newRow("ibp static 192") << 192 << 1 << QByteArrayLiteral("06c078001400");
    QTest::newRow("nibp simulation") << 179 << 1 << QByteArrayLiteral("08b3013c000000b4");
    QTest::newRow("spo2 monitor") << 180 << 1 << QByteArrayLiteral("17b44e656c6c636f7220287374616e6461726429000000");
    QTest::newRow("spo2 simulation") << 181 << 1 << QByteArrayLiteral("10b51e5a003201000084030000000001");
    QTest::newRow("spo2 chronometer") << 184 << 1 << QByteArrayLiteral("10b81e5a003201000084030000000001");
    QTest::newRow("oxilo") << 187 << 1 << QByteArrayLiteral("18bb4d6173696d6f0000035a0032010000b6030000000001");
    QTest::newRow("halvex") << 188 << 1 << QByteArrayLiteral("1cbc005a00057d005500020201030000000000000000000000000000");
    QTest::newRow("start all") << 189 << 1 << QByteArrayLiteral("03bd1e");
    QTest::newRow("ecg wave") << 193 << 1 << QByteArrayLiteral("08c100000a001400");
}

void TestSequenceEditors::newElementPerEquipmentClass()
{
    QFETCH(int, id);
    QFETCH(int, equipmentClass);
    QFETCH(QByteArray, expected);
    TestSequenceWidget* editor = build(quint8(id), nullptr, equipmentClass);
    QVERIFY(editor);
    QCOMPARE(record(editor->element()).toHex(), expected);
}

void TestSequenceEditors::oneEditPerField_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("resistance duration") << QByteArrayLiteral("0612052cc102") << "duration" << "replace:9" << QByteArrayLiteral("0612092cc102");
    QTest::newRow("resistance duration cleared") << QByteArrayLiteral("0612052cc102") << "duration" << "clear" << QByteArrayLiteral("0612002cc102");
    QTest::newRow("resistance limit") << QByteArrayLiteral("0612052cc102") << "passFailLimit" << "append:5" << QByteArrayLiteral("0612055ec102");
    QTest::newRow("resistance tests") << QByteArrayLiteral("0612052cc102") << "numberOfTests" << "replace:4" << QByteArrayLiteral("0612052cc104");
    QTest::newRow("insulation duration") << QByteArrayLiteral("06220a88d303") << "duration" << "replace:7" << QByteArrayLiteral("06220788d303");
    QTest::newRow("insulation limit") << QByteArrayLiteral("06220a88d303") << "passFailLimit" << "append:5" << QByteArrayLiteral("06220a7c9503");
    QTest::newRow("insulation tests") << QByteArrayLiteral("06220a88d303") << "numberOfTests" << "replace:1" << QByteArrayLiteral("06220a88d301");
    QTest::newRow("iec tests") << QByteArrayLiteral("039104") << "numTests" << "replace:2" << QByteArrayLiteral("039102");
    QTest::newRow("iec tests cleared") << QByteArrayLiteral("039104") << "numTests" << "clear" << QByteArrayLiteral("039100");
    QTest::newRow("leakage duration") << QByteArrayLiteral("0832037057b00402") << "duration" << "replace:4" << QByteArrayLiteral("0832047057b00402");
    QTest::newRow("leakage limit") << QByteArrayLiteral("0832037057b00402") << "passFailLimit" << "append:1" << QByteArrayLiteral("0832037117b00402");
    QTest::newRow("leakage sfc limit") << QByteArrayLiteral("0832037057b00402") << "sfcPassFailLimit" << "append:1" << QByteArrayLiteral("0832037057e12e02");
    QTest::newRow("leakage earth open") << QByteArrayLiteral("0832037057b00402") << "earthOpen" << "check" << QByteArrayLiteral("0832037057b00406");
    QTest::newRow("leakage 49 mains reversed") << QByteArrayLiteral("0831037057b00400") << "mainsReversed" << "check" << QByteArrayLiteral("0831037057b00401");
    QTest::newRow("ap duration") << QByteArrayLiteral("074804a04fa08f") << "duration" << "enter:6" << QByteArrayLiteral("074806a04fa08f");
    QTest::newRow("ap bf limit") << QByteArrayLiteral("074804a04fa08f") << "bfPassFailLimit" << "append:1" << QByteArrayLiteral("074804a10fa08f");
    QTest::newRow("ap cf limit") << QByteArrayLiteral("074804a04fa08f") << "cfPassFailLimit" << "append:5" << QByteArrayLiteral("074804a04fd24f");
    QTest::newRow("patient duration") << QByteArrayLiteral("1c5503b044dc8550547c954c44b084c05294914c8428e39491a08f05") << "duration" << "replace:8" << QByteArrayLiteral("1c5508b044dc8550547c954c44b084c05294914c8428e39491a08f05");
    QTest::newRow("patient neutral open") << QByteArrayLiteral("1c5503b044dc8550547c954c44b084c05294914c8428e39491a08f05") << "neutralOpen" << "check" << QByteArrayLiteral("1c5503b044dc8550547c954c44b084c05294914c8428e39491a08f07");
    QTest::newRow("patient B mains AC") << QByteArrayLiteral("1c5503b044dc8550547c954c44b084c05294914c8428e39491a08f05") << "patientConnectionLimits" << "cell:0,0,130" << QByteArrayLiteral("1c55031445dc8550547c954c44b084c05294914c8428e39491a08f05");
    QTest::newRow("patient BF SFC AC") << QByteArrayLiteral("1c5503b044dc8550547c954c44b084c05294914c8428e39491a08f05") << "patientConnectionLimits" << "cell:1,2,420" << QByteArrayLiteral("1c5503b044dc8550547c954c44b084685094914c8428e39491a08f05");
    QTest::newRow("patient CF mains DC") << QByteArrayLiteral("1c5503b044dc8550547c954c44b084c05294914c8428e39491a08f05") << "patientConnectionLimits" << "cell:2,1,7" << QByteArrayLiteral("1c5503b044dc8550547c954c44b084c05294914c8458db9491a08f05");
    QTest::newRow("patient CF SFC DC") << QByteArrayLiteral("1c5503b044dc8550547c954c44b084c05294914c8428e39491a08f05") << "patientConnectionLimits" << "cell:2,3,35" << QByteArrayLiteral("1c5503b044dc8550547c954c44b084c05294914c8428e39491ac8d05");
    QTest::newRow("patient F duration") << QByteArrayLiteral("0c6305a00f9411a08f949101") << "duration" << "replace:2" << QByteArrayLiteral("0c6302a00f9411a08f949101");
    QTest::newRow("patient F source reversed") << QByteArrayLiteral("0c6305a00f9411a08f949101") << "sourceReversed" << "check" << QByteArrayLiteral("0c6305a00f9411a08f949109");
    QTest::newRow("patient F BF mains") << QByteArrayLiteral("0c6305a00f9411a08f949101") << "patientConnectionLimits" << "cell:1,4,3000" << QByteArrayLiteral("0c6305b80b9411a08f949101");
    QTest::newRow("patient F CF SFC") << QByteArrayLiteral("0c6305a00f9411a08f949101") << "patientConnectionLimits" << "cell:2,5,60" << QByteArrayLiteral("0c6305a00f9411a08f709701");
    QTest::newRow("user name") << QByteArrayLiteral("0afd466c6f77006d6c00") << "testName" << "append:x" << QByteArrayLiteral("0bfd466c6f7778006d6c00");
    QTest::newRow("user units picked") << QByteArrayLiteral("0afd466c6f77006d6c00") << "testUnits" << "pick:9" << QByteArrayLiteral("0cfd466c6f77006d6d486700");
    QTest::newRow("user units typed") << QByteArrayLiteral("0afd466c6f77006d6c00") << "testUnits" << "append:V" << QByteArrayLiteral("0bfd466c6f77006d6c5600");
    QTest::newRow("user units first item") << QByteArrayLiteral("0afd466c6f77006d6c00") << "testUnits" << "pick:0" << QByteArrayLiteral("08fd466c6f770000");
    QTest::newRow("nibp set point") << QByteArrayLiteral("06b0fa002d00") << "setPoint" << "replace:9" << QByteArrayLiteral("06b009002d00");
    QTest::newRow("nibp duration") << QByteArrayLiteral("06b0fa002d00") << "duration" << "append:0" << QByteArrayLiteral("06b0fa00c201");
    QTest::newRow("simulation tests") << QByteArrayLiteral("08b3024b0009001e") << "numberOfTests" << "replace:5" << QByteArrayLiteral("08b3054b0009001e");
    QTest::newRow("simulation heart rate") << QByteArrayLiteral("08b3024b0009001e") << "heartRate" << "replace:8" << QByteArrayLiteral("08b302080009001e");
    QTest::newRow("simulation pulse volume") << QByteArrayLiteral("08b3024b0009001e") << "pulseVolume" << "pick:2" << QByteArrayLiteral("08b3024b0009002d");
    QTest::newRow("monitor type") << QByteArrayLiteral("17b44e656c6c636f7220287374616e6461726429000000") << "monitorName" << "pick:3" << QByteArrayLiteral("0bb44d6173696d6f000003");
    QTest::newRow("spo2 duration") << QByteArrayLiteral("10b52850002d020700cf030300000000") << "duration" << "replace:6" << QByteArrayLiteral("10b50650002d020700cf030300000000");
    QTest::newRow("spo2 heart rate") << QByteArrayLiteral("10b52850002d020700cf030300000000") << "heartRate" << "append:0" << QByteArrayLiteral("10b52820032d020700cf030300000000");
    QTest::newRow("spo2 perfusion") << QByteArrayLiteral("10b52850002d020700cf030300000000") << "perfusion" << "replace:9" << QByteArrayLiteral("10b52850005a020700cf030300000000");
    QTest::newRow("spo2 saturation") << QByteArrayLiteral("10b52850002d020700cf030300000000") << "spo2" << "replace:8" << QByteArrayLiteral("10b52850002d02070050000300000000");
    QTest::newRow("spo2 skin") << QByteArrayLiteral("10b52850002d020700cf030300000000") << "skinColour" << "pick:0" << QByteArrayLiteral("10b52850002d000700cf030300000000");
    QTest::newRow("spo2 led") << QByteArrayLiteral("10b52850002d020700cf030300000000") << "ledState" << "pick:1" << QByteArrayLiteral("10b52850002d020700cf030300000001");
    QTest::newRow("oxilo monitor") << QByteArrayLiteral("18bb4d6173696d6f0000035a0032010000b6030000070001") << "monitorName" << "pick:4" << QByteArrayLiteral("19bb5068696c6970730000045a0032010000b6030000070001");
    QTest::newRow("oxilo saturation") << QByteArrayLiteral("18bb4d6173696d6f0000035a0032010000b6030000070001") << "spo2" << "replace:7" << QByteArrayLiteral("18bb4d6173696d6f0000035a003201000046000000070001");
    QTest::newRow("oxilo heart rate") << QByteArrayLiteral("18bb4d6173696d6f0000035a0032010000b6030000070001") << "heartRate" << "replace:6" << QByteArrayLiteral("18bb4d6173696d6f000003060032010000b6030000070001");
    QTest::newRow("oxilo perfusion") << QByteArrayLiteral("18bb4d6173696d6f0000035a0032010000b6030000070001") << "perfusion" << "replace:3" << QByteArrayLiteral("18bb4d6173696d6f0000035a001e010000b6030000070001");
    QTest::newRow("oxilo skin") << QByteArrayLiteral("18bb4d6173696d6f0000035a0032010000b6030000070001") << "skinColour" << "pick:2" << QByteArrayLiteral("18bb4d6173696d6f0000035a0032020000b6030000070001");
    QTest::newRow("oxilo led") << QByteArrayLiteral("18bb4d6173696d6f0000035a0032010000b6030000070001") << "ledState" << "pick:0" << QByteArrayLiteral("18bb4d6173696d6f0000035a0032010000b6030000070000");
    QTest::newRow("halvex waveform") << QByteArrayLiteral("1cbc0148000482005a00030402010a003c000102030405060708090a") << "waveform" << "pick:22" << QByteArrayLiteral("1cbc1648000482005a00030402010a003c000102030405060708090a");
    QTest::newRow("halvex heart rate") << QByteArrayLiteral("1cbc0148000482005a00030402010a003c000102030405060708090a") << "heartRate" << "append:5" << QByteArrayLiteral("1cbc01d5020482005a00030402010a003c000102030405060708090a");
    QTest::newRow("halvex amplitude") << QByteArrayLiteral("1cbc0148000482005a00030402010a003c000102030405060708090a") << "amplitude" << "pick:9" << QByteArrayLiteral("1cbc0148000982005a00030402010a003c000102030405060708090a");
    QTest::newRow("halvex systolic") << QByteArrayLiteral("1cbc0148000482005a00030402010a003c000102030405060708090a") << "systolic" << "replace:7" << QByteArrayLiteral("1cbc0148000407005a00030402010a003c000102030405060708090a");
    QTest::newRow("halvex systolic cleared") << QByteArrayLiteral("1cbc0148000482005a00030402010a003c000102030405060708090a") << "systolic" << "clear" << QByteArrayLiteral("1cbc0148000400005a00030402010a003c000102030405060708090a");
    QTest::newRow("halvex diastolic") << QByteArrayLiteral("1cbc0148000482005a00030402010a003c000102030405060708090a") << "diastolic" << "replace:6" << QByteArrayLiteral("1cbc0148000482000600030402010a003c000102030405060708090a");
    QTest::newRow("halvex temperature") << QByteArrayLiteral("1cbc0148000482005a00030402010a003c000102030405060708090a") << "temperature" << "pick:7" << QByteArrayLiteral("1cbc0148000482005a00070402010a003c000102030405060708090a");
    QTest::newRow("halvex respiration") << QByteArrayLiteral("1cbc0148000482005a00030402010a003c000102030405060708090a") << "respirationRate" << "pick:6" << QByteArrayLiteral("1cbc0148000482005a00030602010a003c000102030405060708090a");
    QTest::newRow("halvex base impedance") << QByteArrayLiteral("1cbc0148000482005a00030402010a003c000102030405060708090a") << "baseImpedance" << "pick:3" << QByteArrayLiteral("1cbc0148000482005a00030403010a003c000102030405060708090a");
    QTest::newRow("halvex delta impedance") << QByteArrayLiteral("1cbc0148000482005a00030402010a003c000102030405060708090a") << "deltaImpedance" << "pick:0" << QByteArrayLiteral("1cbc0148000482005a00030402000a003c000102030405060708090a");
    QTest::newRow("halvex apnoea duration") << QByteArrayLiteral("1cbc0148000482005a00030402010a003c000102030405060708090a") << "apnoeaDuration" << "replace:5" << QByteArrayLiteral("1cbc0148000482005a000304020105003c000102030405060708090a");
    QTest::newRow("halvex apnoea interval") << QByteArrayLiteral("1cbc0148000482005a00030402010a003c000102030405060708090a") << "apnoeaInterval" << "replace:9" << QByteArrayLiteral("1cbc0148000482005a00030402010a0009000102030405060708090a");
    QTest::newRow("start all duration") << QByteArrayLiteral("03bd2d") << "duration" << "replace:9" << QByteArrayLiteral("03bd09");
    QTest::newRow("start all cleared") << QByteArrayLiteral("03bd2d") << "duration" << "clear" << QByteArrayLiteral("03bd00");
    QTest::newRow("ecg waveform") << QByteArrayLiteral("08c1010219001e00") << "waveform" << "pick:3" << QByteArrayLiteral("08c1030219001e00");
    QTest::newRow("ecg frequency") << QByteArrayLiteral("08c1010219001e00") << "waveFrequency" << "enter:7" << QByteArrayLiteral("08c1010246001e00");
    QTest::newRow("ecg amplitude") << QByteArrayLiteral("08c1010219001e00") << "waveAmplitude" << "pick:9" << QByteArrayLiteral("08c1010919001e00");
    QTest::newRow("ecg duration") << QByteArrayLiteral("08c1010219001e00") << "duration" << "replace:8" << QByteArrayLiteral("08c1010219000800");
}

void TestSequenceEditors::oneEditPerField()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, widget);
    QFETCH(QString, edit);
    QFETCH(QByteArray, expected);

    std::unique_ptr<Ux::TsqTestSequenceElement> element = parse(QByteArray::fromHex(stored));
    QVERIFY(element);
    TestSequenceWidget* editor = build(element->id, element.get());
    QVERIFY(editor);
    QSignalSpy modified(editor, &TestSequenceWidget::modified);
    // Loading writes nothing and reports nothing.
    QCOMPARE(record(editor->element()).toHex(), stored);
    QCOMPARE(modified.count(), 0);

    QWidget* target = editor->findChild<QWidget*>(widget);
    QVERIFY2(target, qPrintable(widget));
    const QString kind = edit.section(QLatin1Char(':'), 0, 0);
    const QString argument = edit.section(QLatin1Char(':'), 1);
    if (auto* line = qobject_cast<QLineEdit*>(target)) {
        if (kind == QLatin1String("append"))
            line->end(false);
        else
            line->selectAll();
        if (kind == QLatin1String("clear"))
            QTest::keyClick(line, Qt::Key_Backspace);
        else
            QTest::keyClicks(line, argument);
        if (kind == QLatin1String("enter"))
            QTest::keyClick(line, Qt::Key_Return);
    } else if (auto* combo = qobject_cast<QComboBox*>(target)) {
        if (kind == QLatin1String("pick")) {
            combo->setCurrentIndex(argument.toInt());
        } else {
            combo->lineEdit()->end(false);
            QTest::keyClicks(combo->lineEdit(), argument);
        }
    } else if (auto* box = qobject_cast<QCheckBox*>(target)) {
        QVERIFY(box->isEnabled());
        QTest::mouseClick(box, Qt::LeftButton);
    } else if (auto* table = qobject_cast<QTableWidget*>(target)) {
        const QStringList cell = argument.split(QLatin1Char(','));
        QTableWidgetItem* item = table->item(cell.at(0).toInt(), cell.at(1).toInt());
        QVERIFY(item);
        QVERIFY(!table->isRowHidden(cell.at(0).toInt()) && !table->isColumnHidden(cell.at(1).toInt()));
        item->setText(cell.at(2));
    } else {
        QFAIL("no way to edit this widget");
    }

    QCOMPARE(modified.count(), 1);
    QCOMPARE(record(editor->element()).toHex(), expected);
}

void TestSequenceEditors::userTestTextsStayWithinTheInstrumentCharacters()
{
    TestSequenceWidget* editor = build(253, nullptr);
    QVERIFY(editor);
    auto* name = editor->findChild<QLineEdit*>(QStringLiteral("testName"));
    auto* units = editor->findChild<QComboBox*>(QStringLiteral("testUnits"));
    QCOMPARE(units->count(), 24);
    QCOMPARE(units->itemText(1), QStringLiteral("°C "));
    QSignalSpy modified(editor, &TestSequenceWidget::modified);

    // A character the one-byte text cannot hold, and a control character,
    // never reach the element.
    typeText(name, QStringLiteral("A\u20AC\u0001"));
    typeText(units->lineEdit(), QStringLiteral("\u0100"));
    QCOMPARE(name->text(), QStringLiteral("A"));
    QCOMPARE(modified.count(), 1);

    // Both texts stop at what the record holds.
    name->setText(QString(200, QLatin1Char('n')));
    name->end(false);
    QTest::keyClicks(name, QStringLiteral("z"));
    QCOMPARE(name->text().size(), 200);
    QTest::keyClicks(units->lineEdit(), QString(30, QLatin1Char('u')));
    QCOMPARE(units->currentText().size(), 25);
    const QByteArray bytes = record(editor->element());
    QCOMPARE(quint8(bytes.at(0)), quint8(25 + 1 + 1 + 2 + 1));  // length of "A", 25 units, two zeros
}

void TestSequenceEditors::leakageConditionsFollowTheElementsMask()
{
    const struct {
        quint8 id;
        QList<bool> enabled;  // earth open, neutral open, source reversed, mains reversed
        bool sfcShown;
    } cases[] = {{70, {false, false, false, false}, false},
                 {49, {false, false, false, true}, true},
                 {48, {true, true, false, true}, true},
                 {83, {false, false, false, true}, false}};
    for (const auto& c : cases) {
        TestSequenceWidget* editor = build(c.id, nullptr);
        QVERIFY(editor);
        QList<bool> enabled;
        for (const char* name : {"earthOpen", "neutralOpen", "sourceReversed", "mainsReversed"})
            enabled << editor->findChild<QCheckBox*>(QLatin1String(name))->isEnabled();
        QCOMPARE(enabled, c.enabled);
        QCOMPARE(editor->findChild<QLineEdit*>(QStringLiteral("sfcPassFailLimit"))->isHidden(), !c.sfcShown);
        QCOMPARE(editor->findChild<QLabel*>(QStringLiteral("labelSFCPassFailLimit"))->isHidden(), !c.sfcShown);
    }
}

void TestSequenceEditors::appliedPartDurationIsTakenWhenEditingEnds()
{
    TestSequenceWidget* editor = build(71, nullptr);
    QVERIFY(editor);
    QSignalSpy modified(editor, &TestSequenceWidget::modified);
    auto* duration = editor->findChild<QLineEdit*>(QStringLiteral("duration"));
    duration->selectAll();
    QTest::keyClicks(duration, QStringLiteral("12"));
    QCOMPARE(modified.count(), 0);
    QCOMPARE(quint8(record(editor->element()).at(2)), quint8(2));
    QTest::keyClick(duration, Qt::Key_Enter);
    QCOMPARE(modified.count(), 1);
    QCOMPARE(quint8(record(editor->element()).at(2)), quint8(12));
}

void TestSequenceEditors::numbersReadTheSameInAnyLocale()
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TestSequenceWidget* editor = build(17, nullptr);
    QLocale::setDefault(saved);
    QVERIFY(editor);
    auto* limit = editor->findChild<QLineEdit*>(QStringLiteral("passFailLimit"));
    QCOMPARE(limit->text(), QStringLiteral("0.2"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    limit->selectAll();
    QTest::keyClicks(limit, QStringLiteral("1.5"));
    QLocale::setDefault(saved);
    QCOMPARE(record(editor->element()).toHex(), QByteArrayLiteral("061102dcc501"));
}

void TestSequenceEditors::simulatorFieldsShownAndBounded()
{
    const auto text = [](TestSequenceWidget* editor, const char* name) {
        return editor->findChild<QLineEdit*>(QLatin1String(name))->text();
    };
    TestSequenceWidget* spo2 = build(181, nullptr);
    QCOMPARE(QStringList({text(spo2, "spo2"), text(spo2, "perfusion"), text(spo2, "heartRate"), text(spo2, "duration")}),
             QStringList({"90.0", "5.0", "90", "30"}));
    QVERIFY(!spo2->findChild<QLineEdit*>(QStringLiteral("duration"))->isHidden());
    QVERIFY(build(183, nullptr)->findChild<QLineEdit*>(QStringLiteral("duration"))->isHidden());

    // What the instrument cannot take is refused while typing.
    const struct {
        quint8 id;
        const char* field;
        const char* typed;
        const char* kept;
    } bounds[] = {{181, "spo2", "101", "10"},       {181, "spo2", "97.55", "97.5"},
                  {181, "perfusion", "20.5", "20."}, {188, "systolic", "351", "35"},
                  {188, "apnoeaDuration", "61", "6"}, {189, "duration", "256", "25"},
                  {176, "setPoint", "351", "35"},     {193, "waveFrequency", "100.5", "100."}};
    for (const auto& b : bounds) {
        TestSequenceWidget* editor = build(b.id, nullptr);
        auto* edit = editor->findChild<QLineEdit*>(QLatin1String(b.field));
        edit->selectAll();
        QTest::keyClicks(edit, QLatin1String(b.typed));
        QCOMPARE(edit->text(), QLatin1String(b.kept));
    }

    // The monitor shown is the stored index; the stored name stays until a choice.
    Ux::TsqTestSequenceElementCorvixSetOxiloSettings oxilo;
    oxilo.monitorIndex = 0;
    TestSequenceWidget* editor = build(187, &oxilo);
    QCOMPARE(editor->findChild<QComboBox*>(QStringLiteral("monitorName"))->currentText(),
             QStringLiteral("Nellcor (Standard)"));
    QCOMPARE(static_cast<Ux::TsqTestSequenceElementCorvixSetOxiloSettings*>(editor->element())->monitorName,
             QStringLiteral("Masimo"));
}

PELVANE_TEST_MAIN(TestSequenceEditors)
#include "TestSequenceEditors.moc"
