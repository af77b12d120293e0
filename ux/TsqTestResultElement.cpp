#include "ux/TsqTestResultElement.h"

#include "ux/TsqTestResultElementApApLeakageTest.h"
#include "ux/TsqTestResultElementApLeakageTest.h"
#include "ux/TsqTestResultElementIECWiringTest.h"
#include "ux/TsqTestResultElementInsulationTest.h"
#include "ux/TsqTestResultElementLeakageTest.h"
#include "ux/TsqTestResultElementResistanceTest.h"
#include "ux/TsqTestResultElementSingleTest.h"
#include "ux/TsqTestResultElementUserTest.h"
#include "ux/TsqTestResultElementVisualTest.h"

namespace Ux {

TsqTestResultElement::~TsqTestResultElement() = default;

void TsqTestResultElement::write(QDataStream& stream, bool withHeader)
{
    if (withHeader)
        stream << length << id;
}

void TsqTestResultElement::read(QDataStream& stream, bool withHeader)
{
    if (withHeader)
        stream >> length >> id;
}

void TsqTestResultElement::debugPrintHeader(QDebug& debug) const
{
    debug.nospace() << className() << " {\n"
                    << "\tId = " << id << "\n"
                    << "\tLength = " << length << "\n";
}

void TsqTestResultElement::debugPrint(QDebug debug) const
{
    debugPrintHeader(debug);
    debug << "}\n";
}

namespace {

TsqTestResultElement* make(quint8 id)
{
    switch (id) {
    case 1:
        return new TsqTestResultElementVisualTest;
    case 17: case 18: case 21:
        return new TsqTestResultElementResistanceTest;
    case 32: case 33: case 34: case 35: case 46: case 47:
        return new TsqTestResultElementInsulationTest;
    case 48: case 49: case 50: case 51: case 64: case 66: case 67: case 69: case 70: case 80:
    case 83:
        return new TsqTestResultElementLeakageTest;
    case 71: case 72: case 81: case 82: case 84: case 85: case 96: case 98: case 99: case 100:
    case 112: case 114: case 115:
        return new TsqTestResultElementApLeakageTest;
    case 113:
        return new TsqTestResultElementApApLeakageTest;
    case 144: case 146: case 147: case 148: case 149:
        return new TsqTestResultElementSingleTest;
    case 145:
        return new TsqTestResultElementIECWiringTest;
    case 253:
        return new TsqTestResultElementUserTest;
    default:
        return nullptr;
    }
}

} // namespace

TsqTestResultElement* TsqTestResultElement::create(quint8 id)
{
    TsqTestResultElement* element = make(id);
    if (!element) {
        qDebug().noquote() << QStringLiteral("Unrecognised id with value: %1").arg(id);
        return nullptr;
    }
    element->id = id;
    return element;
}

} // namespace Ux
