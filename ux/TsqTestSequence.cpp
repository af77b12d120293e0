#include "ux/TsqTestSequence.h"

#include "ux/TsqElementRecordReader.h"

namespace Ux {

QDataStream& operator<<(QDataStream& stream, const TsqTestSequence& sequence)
{
    for (TsqTestSequenceElement* element : sequence)
        element->write(stream, true);
    return stream;
}

QDataStream& operator>>(QDataStream& stream, TsqTestSequence& sequence)
{
    TsqElementRecordReader::read(stream, sequence, &TsqTestSequenceElement::create);
    return stream;
}

QDebug operator<<(QDebug debug, const TsqTestSequence& sequence)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "Ux::TsqTestSequence {\n";
    for (const TsqTestSequenceElement* element : sequence)
        debug << static_cast<const void*>(element) << "\n";
    debug << "}\n";
    return debug;
}

} // namespace Ux
