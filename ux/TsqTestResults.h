#pragma once

#include "ux/TsqTestResultElement.h"

#include <QList>

namespace Ux {

// The result elements of one asset, in the order read. The list never deletes
// its elements: whoever reads it owns them.
class TsqTestResults : public QList<TsqTestResultElement*>
{
};

// Appends elements until the end record (length 2, id 255) or the end of the
// data. Corrupt data stops reading with the stream status ReadCorruptData;
// the elements read before it stay.
QDataStream& operator>>(QDataStream& stream, TsqTestResults& results);

} // namespace Ux
