#pragma once

#include <QDataStream>
#include <QList>
#include <QString>

namespace Sq {

// The columns of one first-version TestSequence row, parsed. Each element
// class writes the subset its layout holds; words no column filled are 0.
struct Parameters
{
    quint8 duration = 0;
    quint16 limit = 0;
    quint8 noOfTimes = 0;
    quint16 sfc = 0;
    quint8 testCondition = 0;
    QList<quint16> b;
    QList<quint16> c;
    QString bText;
    QString cText;

    quint16 bAt(int i) const { return i < b.size() ? b.at(i) : 0; }
    quint16 cAt(int i) const { return i < c.size() ? c.at(i) : 0; }
};

// One test element of a first-version sequence. write() puts out the
// element's record as the sequence editor and the upload read it: length
// byte, type byte, parameters, words in the stream's byte order (the stored
// blobs are little-endian).
class Element
{
public:
    Element(quint8 type, const Parameters& parameters) : m_type(type), m_parameters(parameters) {}
    virtual ~Element();
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    virtual void write(QDataStream& stream) const = 0;
    quint8 type() const { return m_type; }

    // The element for a first-version type code, or null for a code that has
    // no element (18, 35 and every code the instruments never knew). The
    // caller owns it.
    static Element* create(quint8 type, const Parameters& parameters);

protected:
    void writeHeader(QDataStream& stream, quint8 length) const { stream << length << m_type; }
    // Every word of these records is a packed decimal limit. The first
    // version kept some in forms the sequence editor never writes (500 with no
    // decimals, a bare 0 for an empty limit); the editor would turn them into
    // its own form of the same value, so an imported sequence that is opened
    // and applied unchanged would change bytes. Such a word is written in the
    // editor's form; one whose value that form cannot hold stays as it was.
    static void writeLimit(QDataStream& stream, quint16 word);

    quint8 m_type;
    Parameters m_parameters;
};

} // namespace Sq
