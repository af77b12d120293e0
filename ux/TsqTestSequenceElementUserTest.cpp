#include "ux/TsqTestSequenceElementUserTest.h"

#include "ux/TsqText.h"

namespace Ux {

namespace {
constexpr int fixedLength = 4;
} // namespace

TsqTestSequenceElementUserTest::TsqTestSequenceElementUserTest(
    const TsqTestSequenceElementUserTest* copyFrom)
    : TsqTestSequenceElement(0, 253)
{
    if (copyFrom) {
        testName = copyFrom->testName;
        testUnits = copyFrom->testUnits;
    }
    // The length follows the texts; it is set again whenever the record is written.
    length = quint8(TsqText::writtenLength(testName, MaxNameLength)
                    + TsqText::writtenLength(testUnits, MaxUnitsLength) + fixedLength);
}

void TsqTestSequenceElementUserTest::write(QDataStream& stream, bool withHeader)
{
    if (withHeader) {
        length = quint8(TsqText::writtenLength(testName, MaxNameLength)
                        + TsqText::writtenLength(testUnits, MaxUnitsLength) + fixedLength);
    }
    TsqTestSequenceElement::write(stream, withHeader);
    TsqText::writeTerminated(stream, testName, MaxNameLength);
    TsqText::writeTerminated(stream, testUnits, MaxUnitsLength);
}

void TsqTestSequenceElementUserTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    testName = TsqText::readTerminated(stream, MaxNameLength);
    testUnits = TsqText::readTerminated(stream, MaxUnitsLength);
}

} // namespace Ux
