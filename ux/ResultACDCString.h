#pragma once

#include <QObject>
#include <QString>

namespace Ux {

// Display texts of one code table; a QObject only for its translation context.
class ResultACDCString : public QObject
{
    Q_OBJECT
public:
    ResultACDCString() = delete;
    static QString toString(int code);
};

} // namespace Ux
