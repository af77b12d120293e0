#include "ux/TsqTestResults.h"

#include "ux/TsqElementRecordReader.h"

namespace Ux {

namespace {
constexpr int endOfResultsId = 255;
} // namespace

QDataStream& operator>>(QDataStream& stream, TsqTestResults& results)
{
    TsqElementRecordReader::read(stream, results, &TsqTestResultElement::create, endOfResultsId);
    return stream;
}

} // namespace Ux
