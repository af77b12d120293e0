#pragma once

#include <QObject>
#include <QString>

namespace Ux {

// Display texts of one code table; a QObject only for its translation context.
class TestTypeString : public QObject
{
    Q_OBJECT
public:
    TestTypeString() = delete;
    static QString toString(int type);
};

} // namespace Ux
