#pragma once

#include <QDataStream>

namespace Ux {

// One record of a test-sequence blob: a length byte (the whole record), the
// test-element id and the payload of the element's class.
class TsqTestSequenceElement
{
public:
    TsqTestSequenceElement(quint8 length, quint8 id) : length(length), id(id) {}
    TsqTestSequenceElement(const TsqTestSequenceElement&) = default;
    TsqTestSequenceElement& operator=(const TsqTestSequenceElement&) = default;
    virtual ~TsqTestSequenceElement();

    // With the header, the length byte and the id byte come first. Subclasses
    // add their payload after calling the base.
    virtual void write(QDataStream& stream, bool withHeader);
    virtual void read(QDataStream& stream, bool withHeader);

    // A new element with the defaults of its class for id, or null (with a
    // debug line) for an id that has no element class. The caller owns it.
    static TsqTestSequenceElement* create(quint8 id);

    quint8 length = 2;
    quint8 id = 0;
};

} // namespace Ux
