#include "assets/ClickableLabel.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "sequences/DialogGlobalTestSequences.h"
#include "sequences/DialogTestSequenceElementTypes.h"
#include "sequences/TestSequence.h"
#include "sequences/TestSequenceWidgetContainer.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "ui_TestSequence.h"
#include "ux/TsqTestSequenceElementCorvixSetHalvexSettings.h"
#include "ux/TsqTestSequenceElementCorvixSetOxiloSettings.h"
#include "ux/TsqTestSequenceElementCorvixSetPressoSettings.h"
#include "ux/TsqTestSequenceElementCorvixStartAllTests.h"
#include "ux/TsqTestSequenceElementECGPerformanceWaveTest.h"
#include "ux/TsqTestSequenceElementNIBPLeakTest.h"
#include "ux/TsqTestSequenceElementNIBPSettingsOCurve.h"
#include "ux/TsqTestSequenceElementNIBPSimulation.h"
#include "ux/TsqTestSequenceElementSPO2MonitorType.h"
#include "ux/TsqTestSequenceElementSPO2Simulation.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QIODevice>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTableView>
#include <QToolBox>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// Records of the safety-test kinds with values no new element has.
const QByteArray visualTest = QByteArray::fromHex("0201");
const QByteArray earthBond = QByteArray::fromHex("0612052cc102");
const QByteArray insulation = QByteArray::fromHex("06220a88d303");
const QByteArray leakage = QByteArray::fromHex("0832037057b00402");
const QByteArray appliedPart = QByteArray::fromHex("074804a04fa08f");
const QByteArray patient = QByteArray::fromHex("1c5503b044dc8550547c954c44b084c05294914c8428e39491a08f05");
const QByteArray patientF = QByteArray::fromHex("0c6305a00f9411a08f949101");
const QByteArray iecWiring = QByteArray::fromHex("039104");
const QByteArray userTest = QByteArray::fromHex("0afd466c6f77006d6c00");

QByteArray record(Ux::TsqTestSequenceElement&& element)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    element.write(out, true);
    return bytes;
}

// The simulator kinds, every field away from its default.
QByteArray simulatorRecords()
{
    Ux::TsqTestSequenceElementNIBPLeakTest leak(190);
    leak.setPoint = 250;
    leak.duration = 45;
    Ux::TsqTestSequenceElementNIBPSettingsOCurve oCurve;
    oCurve.systolic = 140;
    oCurve.diastolic = 95;
    oCurve.adultInfant = 30;
    oCurve.monitorName = QStringLiteral("Dinamap");
    for (int i = 0; i < Ux::TsqTestSequenceElementNIBPSettingsOCurve::CurvePoints; ++i) {
        oCurve.curve[i][0] = quint16(300 + i);
        oCurve.curve[i][1] = quint16(7 * i);
    }
    Ux::TsqTestSequenceElementNIBPSimulation simulation;
    simulation.heartRate = 75;
    simulation.byte3 = 9;
    simulation.pulseVolume = 30;
    Ux::TsqTestSequenceElementSPO2MonitorType monitor;
    monitor.monitorName = QStringLiteral("Masimo");
    monitor.monitorIndex = 3;
    Ux::TsqTestSequenceElementSPO2Simulation spo2(183);
    spo2.spo2 = 87.5;
    spo2.word11 = 513;
    Ux::TsqTestSequenceElementCorvixSetPressoSettings presso;
    presso.heartRate = 66;
    presso.monitorName = QStringLiteral("Omron");
    presso.curve[39][1] = 65535;
    Ux::TsqTestSequenceElementCorvixSetOxiloSettings oxilo;
    oxilo.perfusion = 2.5;
    oxilo.wordF = 7;
    Ux::TsqTestSequenceElementCorvixSetHalvexSettings halvex;
    halvex.waveform = 22;
    halvex.furtherBytes[9] = 0xEE;
    Ux::TsqTestSequenceElementCorvixStartAllTests startAll;
    startAll.duration = 90;
    Ux::TsqTestSequenceElementECGPerformanceWaveTest wave;
    wave.waveFrequency = 2.5;
    return record(std::move(leak)) + record(std::move(oCurve)) + record(std::move(simulation))
           + record(std::move(monitor)) + record(std::move(spo2)) + record(std::move(presso))
           + record(std::move(oxilo)) + record(std::move(halvex)) + record(std::move(startAll))
           + record(std::move(wave));
}

int storeGlobal(const QString& name, int equipmentClass, const QByteArray& data)
{
    SqlQuery insert;
    insert.prepare(QStringLiteral("INSERT INTO GlobalTestSequence (Name,EquipmentClass,Data) VALUES (?,?,?)"));
    insert.addBindValue(name);
    insert.addBindValue(equipmentClass);
    insert.addBindValue(data);
    insert.exec();
    return insert.lastInsertId(0);
}

QListWidgetItem* itemOf(QListWidget* list, int id)
{
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->data(Qt::UserRole).toInt() == id)
            return list->item(row);
    return nullptr;
}

QList<int> idsIn(QListWidget* list)
{
    QList<int> ids;
    for (int row = 0; row < list->count(); ++row)
        ids << list->item(row)->data(Qt::UserRole).toInt();
    return ids;
}

QString hex(const QList<QByteArray>& records)
{
    QByteArray all;
    for (const QByteArray& r : records)
        all += r;
    return QString::fromLatin1(all.toHex());
}

} // namespace

class TestSequenceList : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void everyKindLoadsAndWritesBackByteForByte();
    void damagedOrUnknownRecordsLeaveTheRest();
    void elementsThatCannotBeShownAreReportedOnLoad();
    void loadingAppendsAndAMissingRowChangesNothing();
    void addDeleteMoveImportAndClear();
    void frameSelectsAndShowsItsDetails();
    void elementTypeListsPerInstrumentAndClass();
    void elementTypeDialogRemembersItsPage();

private:
    // Answers the next element type dialog by clicking the element, as a user does.
    void chooseElement(int id);
    void click(TestSequenceWidgetContainer* frame);
    void press(QPushButton* button);
    QString blob() const { return QString::fromLatin1(m_list->data().toHex()); }

    std::unique_ptr<DialogAnswerer> m_answerer;
    std::unique_ptr<TestSequence> m_list;
};

void TestSequenceList::init()
{
    TestEnvironment::clearSettings();
    QVERIFY(SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + QStringLiteral("/list.db")));
    m_answerer = std::make_unique<DialogAnswerer>();
    m_list = std::make_unique<TestSequence>();
}

void TestSequenceList::cleanup()
{
    m_list.reset();
    m_answerer.reset();
    Database::setInstance(nullptr);
}

void TestSequenceList::chooseElement(int id)
{
    m_answerer->answerNext([id](QWidget* dialog) {
        auto* types = qobject_cast<DialogTestSequenceElementTypes*>(dialog);
        QVERIFY(types);
        for (QListWidget* list : types->lists()) {
            QListWidgetItem* item = itemOf(list, id);
            if (!item || item->isHidden())
                continue;
            dialog->findChild<QToolBox*>(QStringLiteral("elements"))->setCurrentWidget(list->parentWidget());
            list->scrollToItem(item);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(item).center());
            QCOMPARE(types->testId(), id);
            types->accept();
            return;
        }
        QFAIL("the element is not offered");
    });
}

void TestSequenceList::click(TestSequenceWidgetContainer* frame)
{
    QVERIFY(frame);
    QTest::mouseClick(frame->findChild<ClickableLabel*>(QStringLiteral("sequenceElementLabel")), Qt::LeftButton);
}

void TestSequenceList::press(QPushButton* button)
{
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestSequenceList::everyKindLoadsAndWritesBackByteForByte()
{
    const QByteArray stored = visualTest + earthBond + insulation + leakage + appliedPart + patient + patientF
                              + iecWiring + simulatorRecords() + userTest;
    const int id = storeGlobal(QStringLiteral("All kinds"), 1, stored);
    QSignalSpy modified(m_list.get(), &TestSequence::modified);
    QVERIFY(m_list->load(id, true));
    QCOMPARE(m_list->elementCount(), 19);
    QCOMPARE(m_list->loadedName(), QStringLiteral("All kinds"));
    QCOMPARE(m_list->container(1)->name(), QStringLiteral("Earth Bond Negative"));
    QCOMPARE(m_list->data().toHex(), stored.toHex());
    QCOMPARE(modified.count(), 0);
    QCOMPARE(m_answerer->count(), 0);
}

void TestSequenceList::damagedOrUnknownRecordsLeaveTheRest()
{
    // An unknown id and the ECG start element (known to the reader, absent
    // from the catalogue) are dropped; the records round them stay.
    const QByteArray unknown = QByteArray::fromHex("050701ff02");
    const QByteArray ecgStart = QByteArray::fromHex("08b6010203040506");
    int id = storeGlobal(QStringLiteral("Odd"), 1, earthBond + unknown + iecWiring + ecgStart + visualTest);
    m_answerer->pressNext(QStringLiteral("OK"));
    QVERIFY(m_list->load(id, true));
    QCOMPARE(blob(), hex({earthBond, iecWiring, visualTest}));
    QCOMPARE(m_answerer->count(), 1); // see elementsThatCannotBeShownAreReportedOnLoad
    m_answerer->clear();
    // A catalogue id that is no sequence element has no editor.
    QTest::ignoreMessage(QtDebugMsg, "Could not create test sequence widget for test with id=144");
    QVERIFY(!m_list->createElementWidget(144, nullptr));

    // A length byte below 2 ends the readable part; the user is told.
    m_list->clear();
    const QByteArray damaged = earthBond + iecWiring + QByteArray::fromHex("01910305") + userTest;
    id = storeGlobal(QStringLiteral("Damaged"), 1, damaged);
    QSignalSpy modified(m_list.get(), &TestSequence::modified);
    QVERIFY(m_list->load(id, true));
    QCOMPARE(blob(), hex({earthBond, iecWiring}));
    QCOMPARE(m_answerer->count(), 1);
    QVERIFY(m_answerer->last().text.contains(QStringLiteral("\"Damaged\" is damaged")));
    QCOMPARE(modified.count(), 0);
    SqlQuery row;
    row.exec(QStringLiteral("SELECT Data FROM GlobalTestSequence WHERE Name='Damaged'"));
    QVERIFY(row.next());
    QCOMPARE(row.value(0).toByteArray(), damaged);
}

void TestSequenceList::elementsThatCannotBeShownAreReportedOnLoad()
{
    // An id no instrument knows, and the ECG start element that no editor shows.
    const QByteArray unknown = QByteArray::fromHex("03fe01");
    const QByteArray ecgStart = QByteArray::fromHex("08b6010203040506");
    const QByteArray stored = earthBond + unknown + iecWiring + ecgStart + visualTest;
    const int id = storeGlobal(QStringLiteral("Odd"), 1, stored);
    QSignalSpy modified(m_list.get(), &TestSequence::modified);
    m_answerer->pressNext(QStringLiteral("OK"));
    QVERIFY(m_list->load(id, true));
    QCOMPARE(blob(), hex({earthBond, iecWiring, visualTest}));
    QCOMPARE(m_answerer->count(), 1);
    const QString text = m_answerer->last().text;
    QVERIFY2(text.contains(QStringLiteral("\"Odd\"")) && text.contains(QStringLiteral("2 test")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("applying your changes removes them")), qPrintable(text));
    QCOMPARE(m_answerer->last().icon, int(QMessageBox::Warning));
    // Nothing changes until the user applies.
    QCOMPARE(modified.count(), 0);
    SqlQuery row;
    row.exec(QStringLiteral("SELECT Data FROM GlobalTestSequence WHERE Id=%1").arg(id));
    QVERIFY(row.next());
    QCOMPARE(row.value(0).toByteArray().toHex(), stored.toHex());

    // A sequence that shows whole says nothing.
    m_list->clear();
    QVERIFY(m_list->load(storeGlobal(QStringLiteral("Plain"), 1, earthBond + visualTest), true));
    QCOMPARE(m_answerer->count(), 1);
}

void TestSequenceList::loadingAppendsAndAMissingRowChangesNothing()
{
    QCOMPARE(m_list->data().isNull(), false);
    QCOMPARE(m_list->data().size(), 0);
    const int id = storeGlobal(QStringLiteral("Two"), 1, earthBond + visualTest);
    const int empty = storeGlobal(QStringLiteral("Empty"), 1, QByteArray("", 0));
    QVERIFY(m_list->load(id, true));
    QVERIFY(m_list->load(id, true));
    QCOMPARE(blob(), hex({earthBond, visualTest, earthBond, visualTest}));
    QVERIFY(m_list->load(empty, true));
    QTest::ignoreMessage(QtCriticalMsg, "Error: Could not find test sequence with id=9999 from table GlobalTestSequence");
    QVERIFY(!m_list->load(9999, true));
    QCOMPARE(m_list->elementCount(), 4);
    m_list->clear();
    QVERIFY(m_list->load(id, true));
    QCOMPARE(blob(), hex({earthBond, visualTest}));
}

void TestSequenceList::addDeleteMoveImportAndClear()
{
    Ui::TestSequence* form = m_list->form();
    m_list->setEquipmentClass(1);
    QSignalSpy modified(m_list.get(), &TestSequence::modified);
    const QByteArray newEarthBond = QByteArray::fromHex("061102c8c001");
    const QByteArray newIec = QByteArray::fromHex("039101");

    // Nothing selected: the new element goes to the end.
    chooseElement(17);
    press(form->addElementBtn);
    chooseElement(145);
    press(form->addElementBtn);
    QCOMPARE(blob(), hex({newEarthBond, newIec}));
    QCOMPARE(modified.count(), 2);
    QVERIFY(!form->deleteElementBtn->isEnabled());

    // A new element goes above the selection, which stays where it was.
    click(m_list->container(0));
    QVERIFY(!form->moveElementUpBtn->isEnabled());
    QVERIFY(form->moveElementDownBtn->isEnabled());
    chooseElement(1);
    press(form->addElementBtn);
    QCOMPARE(blob(), hex({visualTest, newEarthBond, newIec}));
    QCOMPARE(m_list->selectedElement(), m_list->container(1));
    QVERIFY(form->moveElementUpBtn->isEnabled());
    QVERIFY(form->moveElementDownBtn->isEnabled());

    press(form->moveElementDownBtn);
    QCOMPARE(blob(), hex({visualTest, newIec, newEarthBond}));
    QVERIFY(!form->moveElementDownBtn->isEnabled());
    press(form->moveElementUpBtn);
    QCOMPARE(blob(), hex({visualTest, newEarthBond, newIec}));
    QCOMPARE(modified.count(), 5);

    // Deleting selects the element that followed, if any.
    press(form->deleteElementBtn);
    QCOMPARE(blob(), hex({visualTest, newIec}));
    QCOMPARE(m_list->selectedElement(), m_list->container(1));
    QVERIFY(form->moveElementUpBtn->isEnabled());
    QVERIFY(!form->moveElementDownBtn->isEnabled());
    press(form->deleteElementBtn);
    QCOMPARE(blob(), hex({visualTest}));
    QVERIFY(!m_list->selectedElement());
    QVERIFY(!form->deleteElementBtn->isEnabled());
    QVERIFY(!form->moveElementUpBtn->isEnabled());
    QCOMPARE(modified.count(), 7);

    // A cancelled choice adds nothing.
    m_answerer->answerNext([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    press(form->addElementBtn);
    QCOMPARE(blob(), hex({visualTest}));
    QCOMPARE(modified.count(), 7);

    // Import appends the chosen global sequence.
    storeGlobal(QStringLiteral("Other"), 2, leakage);
    storeGlobal(QStringLiteral("Routine"), 1, earthBond + userTest);
    m_answerer->answerNext([](QWidget* dialog) {
        auto* table = dialog->findChild<QTableView*>(QStringLiteral("sequencesTable"));
        table->selectRow(1);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("selectBtn")), Qt::LeftButton);
    });
    click(m_list->container(0));
    press(form->importBtn);
    QCOMPARE(blob(), hex({visualTest, earthBond, userTest}));
    QCOMPARE(modified.count(), 8);
    QVERIFY(form->moveElementDownBtn->isEnabled());

    m_list->clear();
    QCOMPARE(m_list->elementCount(), 0);
    QCOMPARE(m_list->data(), QByteArray(""));
    QVERIFY(!form->deleteElementBtn->isEnabled());
    QCOMPARE(modified.count(), 8);
}

void TestSequenceList::frameSelectsAndShowsItsDetails()
{
    const int id = storeGlobal(QStringLiteral("Two"), 1, earthBond + iecWiring);
    QVERIFY(m_list->load(id, true));
    TestSequenceWidgetContainer* frame = m_list->container(1);
    auto* details = frame->findChild<QWidget*>(QStringLiteral("variablesContainer"));
    auto* toggle = frame->findChild<QToolButton*>(QStringLiteral("detailsBtn"));
    QCOMPARE(frame->name(), QStringLiteral("IEC Wiring Test"));
    QVERIFY(details->isHidden());
    QCOMPARE(frame->frameStyle(), 49);

    click(frame);
    QCOMPARE(m_list->selectedElement(), frame);
    QCOMPARE(frame->frameStyle(), 17);
    QVERIFY(details->isHidden());

    click(m_list->container(0));
    QCOMPARE(frame->frameStyle(), 49);
    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(!details->isHidden());
    QCOMPARE(m_list->selectedElement(), frame);
    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(details->isHidden());
    QCOMPARE(m_list->selectedElement(), frame);
    QVERIFY(m_list->form()->moveElementUpBtn->isEnabled());
    QVERIFY(!m_list->form()->moveElementDownBtn->isEnabled());
}

void TestSequenceList::elementTypeListsPerInstrumentAndClass()
{
    DialogTestSequenceElementTypes dialog(2);
    const QList<QListWidget*> lists = dialog.lists();
    QCOMPARE(lists.size(), 4);
    // Types never offered, and types of no listed instrument.
    for (QListWidget* list : lists)
        for (int id : {18, 49, 144, 146, 147, 148, 149, 182})
            QVERIFY2(!itemOf(list, id), qPrintable(QString::number(id)));
    QCOMPARE(idsIn(lists.at(0)).mid(0, 4), (QList<int>{1, 17, 32, 33}));
    QVERIFY(itemOf(lists.at(1), 176) && itemOf(lists.at(3), 176));
    QVERIFY(!itemOf(lists.at(0), 176) && !itemOf(lists.at(2), 176));
    for (QListWidget* list : lists)
        QVERIFY(itemOf(list, 253));
    QCOMPARE(idsIn(lists.at(2)), (QList<int>{180, 181, 183, 184, 185, 253}));

    // Class II hides what Class II may not run; None shows only what it may.
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("equipmentClass"));
    QCOMPARE(combo->currentIndex(), 2);
    QVERIFY(itemOf(lists.at(0), 17)->isHidden());
    QVERIFY(!itemOf(lists.at(0), 33)->isHidden());
    combo->setCurrentIndex(0);
    QVERIFY(itemOf(lists.at(0), 17)->isHidden());
    QVERIFY(itemOf(lists.at(0), 33)->isHidden());
    QVERIFY(!itemOf(lists.at(0), 1)->isHidden());
    combo->setCurrentIndex(1);
    QVERIFY(!itemOf(lists.at(0), 17)->isHidden());

    // Nothing is chosen after a change of page.
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QVERIFY(!ok->isEnabled());
    dialog.elementClicked(itemOf(lists.at(0), 17));
    QVERIFY(ok->isEnabled());
    QCOMPARE(dialog.testId(), 17);
    dialog.findChild<QToolBox*>(QStringLiteral("elements"))->setCurrentIndex(3);
    QVERIFY(!ok->isEnabled());
    QCOMPARE(dialog.testId(), 0);
}

void TestSequenceList::elementTypeDialogRemembersItsPage()
{
    {
        DialogTestSequenceElementTypes dialog(1);
        QCOMPARE(dialog.findChild<QToolBox*>(QStringLiteral("elements"))->currentIndex(), 0);
        dialog.findChild<QToolBox*>(QStringLiteral("elements"))->setCurrentIndex(2);
        dialog.findChild<QComboBox*>(QStringLiteral("equipmentClass"))->setCurrentIndex(2);
        dialog.reject();
    }
    QVERIFY(!QSettings().contains(QLatin1String(DialogTestSequenceElementTypes::LastTesterKey)));
    {
        DialogTestSequenceElementTypes dialog(1);
        dialog.findChild<QToolBox*>(QStringLiteral("elements"))->setCurrentIndex(2);
        dialog.findChild<QComboBox*>(QStringLiteral("equipmentClass"))->setCurrentIndex(2);
        dialog.accept();
    }
    QCOMPARE(QSettings().value(QLatin1String(DialogTestSequenceElementTypes::LastTesterKey)).toInt(), 2);
    QCOMPARE(QSettings().value(QLatin1String(DialogTestSequenceElementTypes::LastEquipmentClassKey)).toInt(), 2);
    DialogTestSequenceElementTypes again(0);
    QCOMPARE(again.findChild<QToolBox*>(QStringLiteral("elements"))->currentIndex(), 2);
    QCOMPARE(again.findChild<QComboBox*>(QStringLiteral("equipmentClass"))->currentIndex(), 0);
}

PELVANE_TEST_MAIN(TestSequenceList)
#include "TestSequenceList.moc"
