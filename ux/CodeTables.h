#pragma once

#include <QtGlobal>

// The small integer codes that the instruments, the transfer records and the
// database share. The texts shown for them come from the *String classes.
namespace Ux {

// One byte naming a kind of test element.
using TsqTestId = quint8;

enum InstrumentType {
    InstrumentUnknown = 0,
    InstrumentQ1 = 1,
    InstrumentQ2 = 2,
    InstrumentPresso = 4,
    InstrumentOxilo = 8,
    InstrumentCorvix = 16,
    InstrumentQ3 = 32
};

enum TestMode { TestModeManual = 0, TestModeSemiAutomatic = 1, TestModeAutomatic = 2 };

enum ResultStatus {
    StatusNone = -1,
    StatusDeleted = 0,
    StatusPass = 1,
    StatusFail = 2,
    StatusInfo = 4,
    StatusAlert = 5,
    StatusUploaded = 255
};

enum TestType { TestTypeUnknown = -1, TestTypeVisualOnly = 1, TestTypeFullTest = 2 };

enum PatientConnectionType { PatientConnectionB = 1, PatientConnectionBF = 2, PatientConnectionCF = 3 };

enum ResultACDC { ResultACDCCombined = 0, ResultAC = 1, ResultDC = 2 };

enum SingleFaultCondition {
    SingleFaultNone = 0,
    SingleFaultNeutralOpen = 2,
    SingleFaultEarthOpen = 4,
    SingleFaultSourceReversed = 8
};

enum MainsPolarity { MainsPolarityNormal = 0, MainsPolarityReversed = 1 };

enum EquipmentClass { EquipmentClassNone = 0, EquipmentClassI = 1, EquipmentClassII = 2 };

// Bits of the test-condition byte of sequence elements and result records.
enum TestConditions {
    ConditionMainsReversed = 1,
    ConditionNeutralOpen = 2,
    ConditionEarthOpen = 4,
    ConditionSourceReversed = 8
};

} // namespace Ux
