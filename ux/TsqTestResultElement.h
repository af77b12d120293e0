#pragma once

#include <QDataStream>
#include <QDebug>
#include <QString>

namespace Ux {

// One result record of an asset: [length][id][payload]. The accessors give
// what the database stores for the result; a class answers only those that
// its payload carries and the base values otherwise.
class TsqTestResultElement
{
public:
    TsqTestResultElement(quint8 length, quint8 id) : length(length), id(id) {}
    TsqTestResultElement(const TsqTestResultElement&) = default;
    TsqTestResultElement& operator=(const TsqTestResultElement&) = default;
    virtual ~TsqTestResultElement();

    virtual int status() const { return -1; }
    virtual double limit() const { return 0.0; }
    virtual double result() const { return 0.0; }
    virtual int acDc() const { return 0; }
    virtual int relation() const { return -1; }
    virtual int conditions() const { return 0; }
    virtual int patientConnection() const { return 0; }
    virtual int auxPatientConnection() const { return 0; }
    virtual QString testName() const { return QString(); }
    virtual QString testUnits() const { return QString(); }
    virtual void write(QDataStream& stream, bool withHeader);
    virtual void read(QDataStream& stream, bool withHeader);
    virtual void debugPrint(QDebug debug) const;

    // A new element of the class serving id, or null (with a debug line).
    static TsqTestResultElement* create(quint8 id);

    quint8 length = 2;
    quint8 id = 0;

protected:
    virtual const char* className() const { return "Ux::TsqTestResultElement"; }
    // The class line and the header fields that every debugPrint starts with.
    void debugPrintHeader(QDebug& debug) const;
};

} // namespace Ux
