#pragma once

#include <QObject>
#include <QString>

namespace Ux {

// Display texts of one code table; a QObject only for its translation context.
class TestModeString : public QObject
{
    Q_OBJECT
public:
    TestModeString() = delete;
    static QString toString(int mode);
};

} // namespace Ux
