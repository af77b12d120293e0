#pragma once

#include "ux/TsqTestSequenceElement.h"

#include <QDebug>
#include <QList>

namespace Ux {

// The elements of one test sequence in order. The list never deletes its
// elements: whoever fills it owns them.
class TsqTestSequence : public QList<TsqTestSequenceElement*>
{
};

// Writes every element with its header.
QDataStream& operator<<(QDataStream& stream, const TsqTestSequence& sequence);
// Appends the elements of the rest of the stream. Corrupt data stops reading
// with the stream status ReadCorruptData; the elements read before it stay.
QDataStream& operator>>(QDataStream& stream, TsqTestSequence& sequence);
QDebug operator<<(QDebug debug, const TsqTestSequence& sequence);

} // namespace Ux
