#pragma once

#include "portwell/TCustomComPort.h"

// The port as the tool's window places it; all its behaviour is the base's.
class TComPort : public TCustomComPort
{
    Q_OBJECT
public:
    using TCustomComPort::TCustomComPort;
};
