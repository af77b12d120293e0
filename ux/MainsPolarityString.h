#pragma once

#include <QObject>
#include <QString>

namespace Ux {

// Display texts of one code table; a QObject only for its translation context.
class MainsPolarityString : public QObject
{
    Q_OBJECT
public:
    MainsPolarityString() = delete;
    static QString toString(int code);
};

} // namespace Ux
