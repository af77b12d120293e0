#pragma once

#include <QObject>
#include <QString>

namespace Ux {

// Display texts of one code table; a QObject only for its translation context.
class StatusString : public QObject
{
    Q_OBJECT
public:
    StatusString() = delete;
    static QString toString(int status);
};

} // namespace Ux
