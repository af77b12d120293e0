#pragma once

#include <QFlags>
#include <QMetaType>

// One bit per tab of the asset editor; a tab reports its edits by its bit.
enum ModifiedFlag {
    ModifiedNone = 0,
    ModifiedDetails = 1,
    ModifiedAppliedParts = 2,
    ModifiedTestResults = 4,
    ModifiedTestSequence = 8,
    ModifiedAll = 15
};
Q_DECLARE_FLAGS(ModifiedFlags, ModifiedFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(ModifiedFlags)
Q_DECLARE_METATYPE(ModifiedFlags)
