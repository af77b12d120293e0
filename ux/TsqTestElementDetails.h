#pragma once

#include "ux/TsqTestElementDetail.h"

#include <QMap>
#include <QObject>

namespace Ux {

// The fixed catalogue of test-element ids. Names are translated when the
// catalogue is first used; release() forgets it, so that the next use
// translates them again (after a change of language).
class TsqTestElementDetails : public QObject
{
    Q_OBJECT
public:
    static TsqTestElementDetails* instance();
    // Deletes the catalogue and every row handed out; nothing may hold a row.
    static void release();

    // Null when the id has no row.
    const TsqTestElementDetail* details(quint8 id) const;
    // Every row, in ascending id order.
    const QMap<quint8, TsqTestElementDetail*>& rows() const { return m_rows; }
    // Empty for an id without a row.
    static QString testName(quint8 id);

private:
    TsqTestElementDetails();
    ~TsqTestElementDetails() override;
    void add(quint8 id, const QString& name, const QString& units, int instrumentTypes,
             int category, quint8 selectable, quint8 equipmentClasses, int valueWidth,
             int decimals);

    QMap<quint8, TsqTestElementDetail*> m_rows;
};

} // namespace Ux
