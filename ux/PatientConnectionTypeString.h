#pragma once

#include <QObject>
#include <QString>

namespace Ux {

// Display texts of one code table; a QObject only for its translation context.
class PatientConnectionTypeString : public QObject
{
    Q_OBJECT
public:
    PatientConnectionTypeString() = delete;
    static QString toString(int type, bool shortForm);
    // Accepts the short and the long text; 0 when nothing matches.
    static int fromString(const QString& text);
};

} // namespace Ux
