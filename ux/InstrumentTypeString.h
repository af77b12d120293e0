#pragma once

#include <QObject>
#include <QString>

namespace Ux {

// Display texts of one code table; a QObject only for its translation context.
class InstrumentTypeString : public QObject
{
    Q_OBJECT
public:
    InstrumentTypeString() = delete;
    static QString toString(int type);
    // The code whose display name equals name exactly; 0 when none does.
    static int fromName(const QString& name);
};

} // namespace Ux
