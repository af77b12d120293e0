#pragma once

#include <QObject>
#include <QString>

namespace Ux {

// Display texts of one code table; a QObject only for its translation context.
class EquipmentClassString : public QObject
{
    Q_OBJECT
public:
    EquipmentClassString() = delete;
    static QString toString(int equipmentClass);
};

} // namespace Ux
