#include "database/SqElement.h"

#include "database/SqAlternativeEquipmentLeakageTest62353.h"
#include "database/SqAppliedPartLeakageAlternativeTest.h"
#include "database/SqAppliedPartLeakageDirectTest.h"
#include "database/SqAppliedPartLeakageTest.h"
#include "database/SqEarthBondTest200mA.h"
#include "database/SqEarthBondTest25A.h"
#include "database/SqEarthLeakageTest60601.h"
#include "database/SqEarthLeakageTestNFPA99.h"
#include "database/SqEarthLeakageTestNZS3200.h"
#include "database/SqEarthLeakageTestNZS3551.h"
#include "database/SqEnclosureLeakageTest60601.h"
#include "database/SqEnclosureLeakageTestNFPA99.h"
#include "database/SqEnclosureLeakageTestNZS3200.h"
#include "database/SqEquipmentLeakageDifferentialTest62353.h"
#include "database/SqEquipmentLeakageTest62353.h"
#include "database/SqIECLeadPolarityTest.h"
#include "database/SqInsulationAppliedPartTest500V.h"
#include "database/SqInsulationEUTAppliedPartTest250V.h"
#include "database/SqInsulationEUTAppliedPartTest500V.h"
#include "database/SqInsulationTest250V.h"
#include "database/SqInsulationTest500V.h"
#include "database/SqLeakageTest.h"
#include "database/SqPatientAuxilaryLeakageTest60601.h"
#include "database/SqPatientAuxilaryLeakageTestAS3200.h"
#include "database/SqPatientAuxiliaryLeakageAPtoALLTest.h"
#include "database/SqPatientAuxiliaryLeakageAPtoAPTest.h"
#include "database/SqPatientLeakageAPtoGroundTestNFPA99.h"
#include "database/SqPatientLeakageFTypeTest.h"
#include "database/SqPatientLeakageFTypeTest60601.h"
#include "database/SqPatientLeakageFTypeTestNFPA99.h"
#include "database/SqPatientLeakageFTypeTestNZS3200.h"
#include "database/SqPatientLeakageFTypeTestNZS3551.h"
#include "database/SqPatientLeakageTest.h"
#include "database/SqPatientLeakageTest60601.h"
#include "database/SqPatientLeakageTestNZS3200.h"
#include "database/SqPatientLeakageTestNZS3551.h"
#include "database/SqResistanceTest.h"
#include "database/SqUserTest.h"
#include "database/SqVisualTest.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "ux/TsqPatval.h"
#include "ux/TsqText.h"

namespace Sq {

Element::~Element() = default;

void Element::writeLimit(QDataStream& stream, quint16 word)
{
    const float value = Ux::TsqPatval::decode(word);
    if (value > 15500.0f) {
        stream << word;
        return;
    }
    const quint16 editorWord = Ux::TsqPatval::encode(value);
    stream << (Ux::TsqPatval::decode(editorWord) == value ? editorWord : word);
}

void ResistanceTest::write(QDataStream& stream) const
{
    writeHeader(stream, 6);
    stream << m_parameters.duration;
    writeLimit(stream, m_parameters.limit);
    stream << m_parameters.noOfTimes;
}

void LeakageTest::write(QDataStream& stream) const
{
    writeHeader(stream, 8);
    stream << m_parameters.duration;
    writeLimit(stream, m_parameters.limit);
    writeLimit(stream, m_parameters.sfc);
    stream << m_parameters.testCondition;
}

void AppliedPartLeakageTest::write(QDataStream& stream) const
{
    writeHeader(stream, 7);
    stream << m_parameters.duration;
    writeLimit(stream, m_parameters.bAt(0));
    writeLimit(stream, m_parameters.cAt(0));
}

void PatientLeakageTest::write(QDataStream& stream) const
{
    writeHeader(stream, 28);
    stream << m_parameters.duration;
    for (int i = 0; i < 8; ++i)
        writeLimit(stream, m_parameters.bAt(i));
    for (int i = 0; i < 4; ++i)
        writeLimit(stream, m_parameters.cAt(i));
    stream << m_parameters.testCondition;
}

void PatientLeakageFTypeTest::write(QDataStream& stream) const
{
    writeHeader(stream, 12);
    stream << m_parameters.duration;
    writeLimit(stream, m_parameters.bAt(0));
    writeLimit(stream, m_parameters.bAt(1));
    writeLimit(stream, m_parameters.cAt(0));
    writeLimit(stream, m_parameters.cAt(1));
    stream << m_parameters.testCondition;
}

void PatientAuxiliaryLeakageAPtoAPTest::write(QDataStream& stream) const
{
    writeHeader(stream, 28);
    stream << m_parameters.duration;
    // Classes B, BF and CF, each: normal AC, normal DC, single-fault AC, single-fault DC.
    for (int connectionClass = 0; connectionClass < 3; ++connectionClass) {
        writeLimit(stream, m_parameters.limit);
        writeLimit(stream, 0);
        writeLimit(stream, m_parameters.sfc);
        writeLimit(stream, 0);
    }
    stream << m_parameters.testCondition;
}

void PatientAuxiliaryLeakageAPtoALLTest::write(QDataStream& stream) const
{
    writeHeader(stream, 6);
    stream << m_parameters.duration;
    writeLimit(stream, m_parameters.limit);
    stream << m_parameters.noOfTimes;
}

void IECLeadPolarityTest::write(QDataStream& stream) const
{
    writeHeader(stream, 3);
    stream << m_parameters.noOfTimes;
}

void UserTest::write(QDataStream& stream) const
{
    const int nameLength = Ux::TsqText::writtenLength(m_parameters.bText, MaxNameLength);
    const int unitsLength = Ux::TsqText::writtenLength(m_parameters.cText, MaxUnitsLength);
    writeHeader(stream, quint8(nameLength + unitsLength + 4));
    Ux::TsqText::writeTerminated(stream, m_parameters.bText, MaxNameLength);
    Ux::TsqText::writeTerminated(stream, m_parameters.cText, MaxUnitsLength);
}

Element* Element::create(quint8 type, const Parameters& p)
{
    switch (type) {
    case 1: return new VisualTest(p);
    case 17: return new EarthBondTest200mA(p);
    case 21: return new EarthBondTest25A(p);
    case 32: return new InsulationTest250V(p);
    case 33: return new InsulationTest500V(p);
    case 34: return new InsulationAppliedPartTest500V(p);
    case 46: return new InsulationEUTAppliedPartTest250V(p);
    case 47: return new InsulationEUTAppliedPartTest500V(p);
    case 48: return new EarthLeakageTest60601(p);
    case 49: return new EarthLeakageTestNFPA99(p);
    case 50: return new EarthLeakageTestNZS3551(p);
    case 51: return new EarthLeakageTestNZS3200(p);
    case 64: return new EnclosureLeakageTest60601(p);
    case 66: return new EnclosureLeakageTestNFPA99(p);
    case 67: return new EnclosureLeakageTestNZS3200(p);
    case 69: return new EquipmentLeakageTest62353(p);
    case 70: return new AlternativeEquipmentLeakageTest62353(p);
    case 83: return new EquipmentLeakageDifferentialTest62353(p);
    case 113: return new PatientAuxiliaryLeakageAPtoAPTest(p);
    case 114: return new PatientAuxiliaryLeakageAPtoALLTest(p);
    case 71: return new AppliedPartLeakageDirectTest(p);
    case 72: return new AppliedPartLeakageAlternativeTest(p);
    case 80: return new PatientLeakageTest60601(p);
    case 81: return new PatientLeakageAPtoGroundTestNFPA99(p);
    case 84: return new PatientLeakageTestNZS3551(p);
    case 85: return new PatientLeakageTestNZS3200(p);
    case 112: return new PatientAuxilaryLeakageTest60601(p);
    case 115: return new PatientAuxilaryLeakageTestAS3200(p);
    case 96: return new PatientLeakageFTypeTest60601(p);
    case 98: return new PatientLeakageFTypeTestNFPA99(p);
    case 99: return new PatientLeakageFTypeTestNZS3551(p);
    case 100: return new PatientLeakageFTypeTestNZS3200(p);
    case 145: return new IECLeadPolarityTest(p);
    case 253: return new UserTest(p);
    default: return nullptr;
    }
}

} // namespace Sq
