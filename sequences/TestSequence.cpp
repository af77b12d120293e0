#include "sequences/TestSequence.h"

#include "ui_TestSequence.h"

#include "database/SqlQuery.h"
#include "sequences/DialogGlobalTestSequences.h"
#include "sequences/DialogTestSequenceElementTypes.h"
#include "sequences/TestSequenceWidgetAPLeakage.h"
#include "sequences/TestSequenceWidgetContainer.h"
#include "sequences/TestSequenceWidgetCorvixSetHalvexSettings.h"
#include "sequences/TestSequenceWidgetCorvixSetOxiloSettings.h"
#include "sequences/TestSequenceWidgetCorvixSetPressoSettings.h"
#include "sequences/TestSequenceWidgetCorvixStartAllTests.h"
#include "sequences/TestSequenceWidgetECGPerformanceWave.h"
#include "sequences/TestSequenceWidgetEmpty.h"
#include "sequences/TestSequenceWidgetIECWiring.h"
#include "sequences/TestSequenceWidgetInsulation.h"
#include "sequences/TestSequenceWidgetLeakage.h"
#include "sequences/TestSequenceWidgetNIBPLeakage.h"
#include "sequences/TestSequenceWidgetNIBPSettingsOCurve.h"
#include "sequences/TestSequenceWidgetNIBPSimulation.h"
#include "sequences/TestSequenceWidgetPatientLeakage.h"
#include "sequences/TestSequenceWidgetPatientLeakageF.h"
#include "sequences/TestSequenceWidgetResistance.h"
#include "sequences/TestSequenceWidgetSPO2MonitorType.h"
#include "sequences/TestSequenceWidgetSPO2Simulation.h"
#include "sequences/TestSequenceWidgetUserTest.h"
#include "ux/TsqElementRecordReader.h"
#include "ux/TsqTestElementDetails.h"
#include "ux/TsqTestSequence.h"
#include "ux/TsqTestSequenceElement.h"

#include <QDebug>
#include <QIODevice>
#include <QMessageBox>
#include <QSpacerItem>

TestSequence::TestSequence(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TestSequence>())
{
    ui->setupUi(this);
    ui->scrollArea->viewport()->setAutoFillBackground(false);
    ui->sequenceElementsList->setAutoFillBackground(false);
    connect(ui->importBtn, &QPushButton::pressed, this, &TestSequence::importSequence);
    connect(ui->addElementBtn, &QPushButton::pressed, this, &TestSequence::addElement);
    connect(ui->deleteElementBtn, &QPushButton::pressed, this, &TestSequence::deleteElement);
    connect(ui->moveElementUpBtn, &QPushButton::pressed, this, &TestSequence::moveUp);
    connect(ui->moveElementDownBtn, &QPushButton::pressed, this, &TestSequence::moveDown);
    // Keeps the frames packed at the top; it stays last and is never removed.
    elementsLayout()->addItem(new QSpacerItem(10, 1000, QSizePolicy::Minimum, QSizePolicy::Expanding));
}

TestSequence::~TestSequence() = default;

QVBoxLayout* TestSequence::elementsLayout() const
{
    return ui->sequenceElementsListLayout;
}

int TestSequence::elementCount() const
{
    return elementsLayout()->count() - 1;
}

TestSequenceWidgetContainer* TestSequence::container(int index) const
{
    QLayoutItem* item = elementsLayout()->itemAt(index);
    return item ? qobject_cast<TestSequenceWidgetContainer*>(item->widget()) : nullptr;
}

bool TestSequence::load(int id, bool global)
{
    m_id = id;
    m_global = global;
    const QString table = global ? QStringLiteral("GlobalTestSequence") : QStringLiteral("TestSequence");
    SqlQuery query;
    query.prepare(QStringLiteral("SELECT Name,Data FROM %1 WHERE Id=:Id").arg(table));
    query.bindValue(QStringLiteral(":Id"), id);
    query.exec();
    if (!query.next()) {
        qCritical().noquote() << QStringLiteral("Error: Could not find test sequence with id=%1 from table %2")
                                     .arg(id)
                                     .arg(table);
        return false;
    }
    m_name = query.value(0).toString();
    const QByteArray blob = query.value(1).toByteArray();

    Ux::TsqTestSequence elements;
    QDataStream stream(blob);
    stream.setByteOrder(QDataStream::LittleEndian);
    // Records of ids no instrument knows are skipped by the reader; they are
    // lost on Apply like those without an editor, so both are counted.
    int unshown = 0;
    Ux::TsqElementRecordReader::read(stream, elements, [&unshown](quint8 id) {
        Ux::TsqTestSequenceElement* element = Ux::TsqTestSequenceElement::create(id);
        if (!element)
            ++unshown;
        return element;
    });
    const bool damaged = stream.status() == QDataStream::ReadCorruptData;

    for (Ux::TsqTestSequenceElement* element : elements) {
        if (TestSequenceWidgetContainer* frame = createElementWidget(element->id, element))
            elementsLayout()->insertWidget(elementsLayout()->count() - 1, frame);
        else
            ++unshown;
    }
    // Every editor works on its own copy.
    qDeleteAll(elements);

    if (damaged) {
        QMessageBox::warning(this, tr("Test Sequence"),
                             tr("The stored test sequence \"%1\" is damaged. Only the tests before the damaged "
                                "part are shown; the stored sequence stays as it is unless you apply your changes.")
                                 .arg(m_name));
    }
    // The list writes back only what it shows, so the user must know
    // before applying what would go.
    if (unshown > 0) {
        QMessageBox::warning(this, tr("Test Sequence"),
                             tr("The stored test sequence \"%1\" holds %n test(s) that cannot be shown. "
                                "The stored sequence stays as it is; applying your changes removes them.",
                                nullptr, unshown)
                                 .arg(m_name));
    }
    return true;
}

QByteArray TestSequence::data() const
{
    // Never null: a null array would be stored as NULL rather than as an
    // empty sequence.
    QByteArray blob("", 0);
    QDataStream stream(&blob, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    for (int i = 0; i < elementCount(); ++i) {
        TestSequenceWidget* editor = container(i)->widget();
        Q_ASSERT_X(editor && editor->element(), "TestSequence::data", "element");
        editor->element()->write(stream, true);
    }
    return blob;
}

void TestSequence::clear()
{
    m_selectedElement = nullptr;
    updateButtons();
    while (elementsLayout()->count() > 1) {
        QLayoutItem* item = elementsLayout()->takeAt(0);
        delete item->widget();
        delete item;
    }
}

void TestSequence::setEquipmentClass(int equipmentClass)
{
    m_equipmentClass = equipmentClass;
}

TestSequenceWidgetContainer* TestSequence::createElementWidget(quint8 testId, Ux::TsqTestSequenceElement* element)
{
    const Ux::TsqTestElementDetail* details = Ux::TsqTestElementDetails::instance()->details(testId);
    if (!details) {
        qDebug().noquote() << QStringLiteral("Unrecognised test id: %1").arg(testId);
        return nullptr;
    }
    auto* frame = new TestSequenceWidgetContainer(details->name);
    TestSequenceWidget* editor = nullptr;
    switch (testId) {
    case 1: case 177: case 185: case 191:
        editor = new TestSequenceWidgetEmpty(testId, frame);
        break;
    case 17: case 18: case 21:
        editor = new TestSequenceWidgetResistance(element, testId, frame);
        break;
    case 32: case 33: case 34: case 35: case 46: case 47: case 114:
        editor = new TestSequenceWidgetInsulation(element, testId, m_equipmentClass, frame);
        break;
    case 48: case 49: case 50: case 51: case 64: case 66: case 67: case 69: case 70: case 83:
        editor = new TestSequenceWidgetLeakage(element, testId, m_equipmentClass, frame);
        break;
    case 71: case 72:
        editor = new TestSequenceWidgetAPLeakage(element, testId, frame);
        break;
    case 80: case 81: case 84: case 85: case 112: case 113: case 115:
        editor = new TestSequenceWidgetPatientLeakage(element, testId, m_equipmentClass, frame);
        break;
    case 96: case 98: case 99: case 100:
        editor = new TestSequenceWidgetPatientLeakageF(element, testId, frame);
        break;
    case 145:
        editor = new TestSequenceWidgetIECWiring(element, frame);
        break;
    case 253:
        editor = new TestSequenceWidgetUserTest(element, frame);
        break;
    case 176: case 190: case 192:
        editor = new TestSequenceWidgetNIBPLeakage(element, testId, frame);
        break;
    case 178:
        editor = new TestSequenceWidgetNIBPSettingsOCurve(element, frame);
        break;
    case 179:
        editor = new TestSequenceWidgetNIBPSimulation(element, frame);
        break;
    case 180:
        editor = new TestSequenceWidgetSPO2MonitorType(element, frame);
        break;
    case 181: case 183: case 184:
        editor = new TestSequenceWidgetSPO2Simulation(element, testId, frame);
        break;
    case 186:
        editor = new TestSequenceWidgetCorvixSetPressoSettings(element, frame);
        break;
    case 187:
        editor = new TestSequenceWidgetCorvixSetOxiloSettings(element, frame);
        break;
    case 188:
        editor = new TestSequenceWidgetCorvixSetHalvexSettings(element, frame);
        break;
    case 189:
        editor = new TestSequenceWidgetCorvixStartAllTests(element, frame);
        break;
    case 193:
        editor = new TestSequenceWidgetECGPerformanceWave(element, frame);
        break;
    default:
        break;
    }
    if (!editor) {
        qDebug().noquote() << QStringLiteral("Could not create test sequence widget for test with id=%1").arg(testId);
        delete frame;
        return nullptr;
    }
    frame->addWidget(editor);
    connect(editor, &TestSequenceWidget::modified, this, &TestSequence::elementModified);
    connect(frame, &TestSequenceWidgetContainer::clicked, this, &TestSequence::testSequenceClicked);
    return frame;
}

void TestSequence::updateButtons()
{
    const int index = m_selectedElement ? elementsLayout()->indexOf(m_selectedElement) : -1;
    ui->deleteElementBtn->setEnabled(index >= 0);
    ui->moveElementUpBtn->setEnabled(index > 0);
    ui->moveElementDownBtn->setEnabled(index >= 0 && index < elementCount() - 1);
}

void TestSequence::select(TestSequenceWidgetContainer* container)
{
    if (m_selectedElement)
        m_selectedElement->setSelected(false);
    m_selectedElement = container;
    if (m_selectedElement)
        m_selectedElement->setSelected(true);
    updateButtons();
}

void TestSequence::testSequenceClicked(TestSequenceWidgetContainer* container)
{
    select(container);
}

void TestSequence::elementModified()
{
    emit modified();
}

void TestSequence::importSequence()
{
    DialogGlobalTestSequences dialog(true, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    load(dialog.selectedSequenceId(), true);
    updateButtons();
    emit modified();
}

void TestSequence::addElement()
{
    DialogTestSequenceElementTypes dialog(m_equipmentClass, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TestSequenceWidgetContainer* frame = createElementWidget(quint8(dialog.testId()), nullptr);
    if (!frame)
        return;
    const int index = m_selectedElement ? elementsLayout()->indexOf(m_selectedElement) : elementsLayout()->count() - 1;
    elementsLayout()->insertWidget(index, frame);
    updateButtons();
    emit modified();
}

void TestSequence::deleteElement()
{
    Q_ASSERT_X(m_selectedElement, "TestSequence::deleteElement", "m_selectedElement");
    if (!m_selectedElement)
        return;
    const int index = elementsLayout()->indexOf(m_selectedElement);
    elementsLayout()->removeWidget(m_selectedElement);
    delete m_selectedElement;
    m_selectedElement = nullptr;
    select(container(index));
    emit modified();
}

void TestSequence::moveUp()
{
    moveSelectedElement(-1);
}

void TestSequence::moveDown()
{
    moveSelectedElement(1);
}

void TestSequence::moveSelectedElement(int delta)
{
    Q_ASSERT_X(m_selectedElement, "TestSequence::moveSelectedElement", "m_selectedElement");
    if (!m_selectedElement)
        return;
    const int target = elementsLayout()->indexOf(m_selectedElement) + delta;
    const int last = elementsLayout()->count() - 1;
    if (target < 0 || target >= last)
        return;
    elementsLayout()->removeWidget(m_selectedElement);
    elementsLayout()->insertWidget(target, m_selectedElement);
    updateButtons();
    emit modified();
}
