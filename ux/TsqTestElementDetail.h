#pragma once

#include "ux/EquipmentClassFlags.h"

#include <QString>

namespace Ux {

// One row of the test-element catalogue.
struct TsqTestElementDetail
{
    quint8 id = 0;
    QString name;
    QString units;
    int instrumentTypes = 0; // mask of InstrumentType bits offering the element
    int category = 0;        // 0 none, 1 earth bond, 2 insulation, 3 leakage
    quint8 selectable = 0;
    EquipmentClassFlags equipmentClasses;
    int valueWidth = 0;
    int decimals = 0;
};

} // namespace Ux
