#pragma once

#include <QFlags>
#include <QObject>

// The settings of a serial port as the tool's users know them. The first
// value of every enumeration (the one ending in Default) leaves the device's
// own setting untouched.
namespace ComPortTypes {
Q_NAMESPACE

enum TBaudRate {
    brDefault, br50, br75, br110, br150, br300, br600, br1200, br1800, br2000, br2400, br3600,
    br4800, br7200, br9600, br10400, br14400, br15625, br19200, br28800, br38400, br56000,
    br57600, br115200, br128000, br256000, brCustom
};
Q_ENUM_NS(TBaudRate)

enum TDataBits { dbDefault, db4, db5, db6, db7, db8 };
Q_ENUM_NS(TDataBits)

enum TParity { paDefault, paNone, paOdd, paEven, paMark, paSpace };
Q_ENUM_NS(TParity)

enum TStopBits { sbDefault, sb1, sb1_5, sb2 };
Q_ENUM_NS(TStopBits)

enum TComOption {
    opCheckParity = 0x1,
    opOutputCTSFlow = 0x2,
    opOutputDSRFlow = 0x4,
    opDSRSensitivity = 0x8,
    opTXContinueOnXOff = 0x10,
    opUseErrorChar = 0x20,
    opDiscardNullBytes = 0x40,
    opAbortOnError = 0x80
};
Q_DECLARE_FLAGS(TComOptions, TComOption)

enum TDTRControl { dcDefault, dcDisable, dcEnable, dcHandshake };
Q_ENUM_NS(TDTRControl)

enum TRTSControl { rcDefault, rcDisable, rcEnable, rcHandshake, rcToggle };
Q_ENUM_NS(TRTSControl)

enum TXOnXOffControl { xcDefault, xcDisable, xcInput, xcOutput, xcInputOutput };
Q_ENUM_NS(TXOnXOffControl)

enum TPriorityClass { pcDefault, pcIdle, pcNormal, pcHigh, pcRealTime };
Q_ENUM_NS(TPriorityClass)

// Line errors, with the values of the Windows communication error bits, so
// that a logged set reads the same wherever the tool runs.
enum TComLineError {
    leRxOverflow = 0x1,
    leOverrun = 0x2,
    leParity = 0x4,
    leFrame = 0x8,
    leBreak = 0x10,
    leTxFull = 0x100,
    leDeviceTimeOut = 0x200,
    leIO = 0x400,
    leDeviceNotSelected = 0x800,
    leOutOfPaper = 0x1000,
    leMode = 0x8000
};
Q_DECLARE_FLAGS(TComLineErrors, TComLineError)

enum TModemStatusBit { msCTS = 0x10, msDSR = 0x20, msRing = 0x40, msRLSD = 0x80 };
Q_DECLARE_FLAGS(TModemStatus, TModemStatusBit)

// Communication events, one bit per handler.
enum TComEvent : unsigned {
    evRxChar = 0x1,
    evRxFlag = 0x2,
    evTxEmpty = 0x4,
    evCTS = 0x8,
    evDSR = 0x10,
    evRLSD = 0x20,
    evBreak = 0x40,
    evError = 0x80,
    evRing = 0x100,
    evPrinterError = 0x200,
    evRx80PercFull = 0x400,
    evEvent1 = 0x800,
    evEvent2 = 0x1000
};

} // namespace ComPortTypes

Q_DECLARE_OPERATORS_FOR_FLAGS(ComPortTypes::TComOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(ComPortTypes::TComLineErrors)
Q_DECLARE_OPERATORS_FOR_FLAGS(ComPortTypes::TModemStatus)
