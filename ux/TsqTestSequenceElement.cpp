#include "ux/TsqTestSequenceElement.h"

#include "ux/CodeTables.h"
#include "ux/TsqTestSequenceElementAppliedPartLeakageTest.h"
#include "ux/TsqTestSequenceElementCorvixSetHalvexSettings.h"
#include "ux/TsqTestSequenceElementCorvixSetOxiloSettings.h"
#include "ux/TsqTestSequenceElementCorvixSetPressoSettings.h"
#include "ux/TsqTestSequenceElementCorvixStartAllTests.h"
#include "ux/TsqTestSequenceElementECGPerformanceWaveTest.h"
#include "ux/TsqTestSequenceElementECGStartSimulation.h"
#include "ux/TsqTestSequenceElementEmptyTest.h"
#include "ux/TsqTestSequenceElementIECWiringTest.h"
#include "ux/TsqTestSequenceElementInsulationTest.h"
#include "ux/TsqTestSequenceElementLeakageTest.h"
#include "ux/TsqTestSequenceElementNIBPLeakTest.h"
#include "ux/TsqTestSequenceElementNIBPSettingsOCurve.h"
#include "ux/TsqTestSequenceElementNIBPSimulation.h"
#include "ux/TsqTestSequenceElementPatientLeakageFTest.h"
#include "ux/TsqTestSequenceElementPatientLeakageTest.h"
#include "ux/TsqTestSequenceElementResistanceTest.h"
#include "ux/TsqTestSequenceElementSPO2MonitorType.h"
#include "ux/TsqTestSequenceElementSPO2Simulation.h"
#include "ux/TsqTestSequenceElementUserTest.h"

#include <QDebug>

namespace Ux {

TsqTestSequenceElement::~TsqTestSequenceElement() = default;

void TsqTestSequenceElement::write(QDataStream& stream, bool withHeader)
{
    if (withHeader)
        stream << length << id;
}

void TsqTestSequenceElement::read(QDataStream& stream, bool withHeader)
{
    if (withHeader)
        stream >> length >> id;
}

namespace {

TsqTestSequenceElement* make(quint8 id)
{
    switch (id) {
    case 1: case 177: case 185: case 191:
        return new TsqTestSequenceElementEmptyTest(id);
    case 17: case 18: case 21:
        return new TsqTestSequenceElementResistanceTest(id);
    case 32: case 33: case 34: case 35: case 46: case 47: case 114:
        return new TsqTestSequenceElementInsulationTest(id, EquipmentClassI);
    case 48: case 49: case 50: case 51: case 64: case 66: case 67: case 69: case 70: case 83:
        return new TsqTestSequenceElementLeakageTest(id, EquipmentClassI);
    case 71: case 72:
        return new TsqTestSequenceElementAppliedPartLeakageTest(id);
    case 80: case 81: case 84: case 85: case 112: case 113: case 115:
        return new TsqTestSequenceElementPatientLeakageTest(id, EquipmentClassI);
    case 96: case 98: case 99: case 100:
        return new TsqTestSequenceElementPatientLeakageFTest(id);
    case 145:
        return new TsqTestSequenceElementIECWiringTest;
    case 176: case 190: case 192:
        return new TsqTestSequenceElementNIBPLeakTest(id);
    case 178:
        return new TsqTestSequenceElementNIBPSettingsOCurve;
    case 179:
        return new TsqTestSequenceElementNIBPSimulation;
    case 180:
        return new TsqTestSequenceElementSPO2MonitorType;
    case 181: case 183: case 184:
        return new TsqTestSequenceElementSPO2Simulation(id);
    case 182:
        return new TsqTestSequenceElementECGStartSimulation;
    case 186:
        return new TsqTestSequenceElementCorvixSetPressoSettings;
    case 187:
        return new TsqTestSequenceElementCorvixSetOxiloSettings;
    case 188:
        return new TsqTestSequenceElementCorvixSetHalvexSettings;
    case 189:
        return new TsqTestSequenceElementCorvixStartAllTests;
    case 193:
        return new TsqTestSequenceElementECGPerformanceWaveTest;
    case 253:
        return new TsqTestSequenceElementUserTest;
    default:
        return nullptr;
    }
}

} // namespace

TsqTestSequenceElement* TsqTestSequenceElement::create(quint8 id)
{
    TsqTestSequenceElement* element = make(id);
    if (!element) {
        qDebug().noquote() << QStringLiteral("Unrecognised id with value: %1").arg(id);
        return nullptr;
    }
    element->id = id;
    return element;
}

} // namespace Ux
